// Times the closing of a serial port whose output has stalled: the other side
// of a pseudo-terminal never reads, the driver's buffers are full and a write
// has given up after its bound. Closing must not wait for that output.
//
//   bench-serial-close [ROUNDS]
#include "platform/pseudo_terminal.h"
#include "platform/serial_device.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int PORT = 65; // ttyACM0 of the bench's own device folder
constexpr double BOUND_MS = 100;
constexpr int MAX_FILLS = 1000;

// One round: a stalled port, then the timed close. -1 when the set-up failed.
double closeAfterStall(const std::string &link)
{
    char slave[256];
    const int master = pty_open_master(slave, sizeof slave);
    if (master < 0 || symlink(slave, link.c_str()) != 0)
        return -1;
    const int device = serial_device_open(PORT);
    double ms = -1;
    if (device >= 0 && serial_device_configure(device, 2400, 8, 'n', 2) == 0) {
        // The driver may still make room as the other side's line discipline
        // takes its share; fill again until a bounded write gives up.
        const uint8_t filler[1024] = {};
        bool stalled = false;
        for (int attempt = 0; attempt < MAX_FILLS && !stalled; ++attempt) {
            while (write(device, filler, sizeof filler) > 0) {
            }
            stalled = serial_device_write(device, filler, 1) == -1;
        }
        if (stalled) {
            const auto start = std::chrono::steady_clock::now();
            serial_device_close(device);
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
        }
    }
    if (ms < 0)
        serial_device_close(device);
    unlink(link.c_str());
    pty_close(master);
    return ms;
}
} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? atoi(argv[1]) : 100;
    char folder[] = "/tmp/velorix-bench-XXXXXX";
    if (rounds <= 0 || !mkdtemp(folder))
        return 2;
    serial_device_use_folder(folder);
    const std::string link = std::string(folder) + "/ttyACM0";
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double ms = closeAfterStall(link);
        if (ms < 0) {
            fprintf(stderr, "round %d: no stalled port to close\n", i + 1);
            rmdir(folder);
            return 1;
        }
        times.push_back(ms);
    }
    rmdir(folder);
    std::sort(times.begin(), times.end());
    const double worst = times.back();
    printf("close after a stalled write, %d rounds: min %.3f ms, median %.3f ms, "
           "99th percentile %.3f ms, max %.3f ms (bound %.0f ms): %s\n",
           rounds, times.front(), times[times.size() / 2], times[times.size() * 99 / 100], worst,
           BOUND_MS, worst <= BOUND_MS ? "within" : "EXCEEDED");
    return worst <= BOUND_MS ? 0 : 1;
}
