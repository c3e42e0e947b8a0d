#include "platform/serial_device.h"
#include "platform/serial_system.h"

#include <asm/termbits.h>
#include <cerrno>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr int WRITE_MS_PER_BYTE = 10;
constexpr int WRITE_MS_CONSTANT = 20;
// Room for the device folder and a device name.
constexpr size_t PATH_SIZE = 4200;
// Non-blocking, so that a port waiting for carrier never holds the window,
// and never the controlling terminal of the configurator.
constexpr int OPEN_FLAGS = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;

// The queue argument of TCFLSH travels in the pointer's place.
void *queue(uintptr_t which)
{
    return reinterpret_cast<void *>(which);
}

bool hasUart(int device)
{
    serial_struct info{};
    return serial_system().ioctl(device, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
}

// Whether a port just opened is free for us: a terminal that no other
// program has marked exclusive or locked and, for a legacy port, one with a
// UART behind its name. The mark is read before anything else is done to the
// port: as root the open succeeds in spite of it.
bool isFree(int device, bool legacy)
{
    const SerialSystem &os = serial_system();
    int exclusive = 0;
    if (os.ioctl(device, TIOCGEXCL, &exclusive) != 0 || (exclusive != 0))
        return false;
    if (os.flock(device, LOCK_EX | LOCK_NB) != 0)
        return false;
    return !legacy || hasUart(device);
}

int openFree(const char *path, bool legacy)
{
    const SerialSystem &os = serial_system();
    const int device = os.open(path, OPEN_FLAGS);
    if (device < 0)
        return SERIAL_NO_DEVICE;
    if (!isFree(device, legacy)) {
        os.close(device);
        return SERIAL_NO_DEVICE;
    }
    return device;
}

int openFreeCom(int comNumber)
{
    char path[PATH_SIZE];
    if (!serial_device_path(comNumber, path, sizeof path))
        return SERIAL_NO_DEVICE;
    return openFree(path, serial_device_is_legacy_port(comNumber));
}

// A free port made ready for an exchange.
int takeForExchange(int device)
{
    if (device == SERIAL_NO_DEVICE)
        return device;
    const SerialSystem &os = serial_system();
    // Opening raised DTR and RTS; the link keeps them low, so they drop
    // before the line is touched. A pseudo-terminal has no modem lines.
    int lines = TIOCM_DTR | TIOCM_RTS;
    os.ioctl(device, TIOCMBIC, &lines);
    // The lock keeps out openers that lock too; the mark keeps out the others
    // that do not run as root.
    os.ioctl(device, TIOCEXCL, nullptr);
    // Bytes queued before the open would be taken for the coming answer. No
    // other program claimed them: the port was neither marked nor locked.
    os.ioctl(device, TCFLSH, queue(TCIFLUSH));
    return device;
}

int64_t nowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

// Waits until the device takes more output or the deadline passes.
bool waitWritable(int device, int64_t deadline)
{
    for (;;) {
        const int64_t left = deadline - nowMs();
        if (left <= 0)
            return false;
        pollfd entry{device, POLLOUT, 0};
        const int ready = poll(&entry, 1, static_cast<int>(left));
        if (ready > 0)
            return (entry.revents & POLLOUT) != 0;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}
} // namespace

int serial_device_open(int comNumber)
{
    return takeForExchange(openFreeCom(comNumber));
}

int serial_device_open_path(const char *path)
{
    return takeForExchange(openFree(path, false));
}

bool serial_device_probe(int comNumber)
{
    const int device = openFreeCom(comNumber);
    if (device == SERIAL_NO_DEVICE)
        return false;
    serial_system().close(device);
    return true;
}

int serial_device_read(int device, uint8_t *buffer, size_t size)
{
    if (size > INT_MAX)
        size = INT_MAX;
    for (;;) {
        const ssize_t got = read(device, buffer, size);
        if (got >= 0)
            return static_cast<int>(got);
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        if (errno != EINTR)
            return -1;
    }
}

bool serial_device_wait_readable(int device, int timeoutMs)
{
    pollfd entry{device, POLLIN, 0};
    return poll(&entry, 1, timeoutMs) > 0 && (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

int serial_device_write(int device, const uint8_t *bytes, size_t n)
{
    if (n > INT_MAX / WRITE_MS_PER_BYTE)
        return -1;
    const int64_t deadline =
        nowMs() + WRITE_MS_PER_BYTE * static_cast<int64_t>(n) + WRITE_MS_CONSTANT;
    size_t done = 0;
    while (done < n) {
        const ssize_t put = write(device, bytes + done, n - done);
        if (put > 0) {
            done += static_cast<size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        if (!waitWritable(device, deadline))
            return -1;
    }
    return static_cast<int>(done);
}

void serial_device_close(int device)
{
    if (device < 0)
        return;
    const SerialSystem &os = serial_system();
    // Output a device no longer takes would hold close() for the port's
    // closing wait (30 s by default); none of it is wanted any more.
    os.ioctl(device, TCFLSH, queue(TCOFLUSH));
    // The mark outlives the descriptor on a pseudo-terminal whose master
    // stays open. It is ours to clear: the open refused a port marked by
    // another program.
    os.ioctl(device, TIOCNXCL, nullptr);
    os.close(device);
}
