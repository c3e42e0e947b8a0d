#include "platform/serial_device.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int WRITE_MS_PER_BYTE = 10;
constexpr int WRITE_MS_CONSTANT = 20;

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
    char path[4200];
    if (!serial_device_path(comNumber, path, sizeof path))
        return SERIAL_NO_DEVICE;
    // Non-blocking, so that a port waiting for carrier never holds the window.
    const int device = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (device < 0)
        return SERIAL_NO_DEVICE;
    // The lock keeps out every other opener, root included; TIOCEXCL also
    // keeps out programs that do not take the lock, unless they run as root.
    if (!isatty(device) || flock(device, LOCK_EX | LOCK_NB) != 0) {
        close(device);
        return SERIAL_NO_DEVICE;
    }
    ioctl(device, TIOCEXCL);
    // Bytes left from an earlier exchange would be taken for the next answer.
    tcflush(device, TCIFLUSH);
    return device;
}

bool serial_device_available(int comNumber)
{
    const int device = serial_device_open(comNumber);
    if (device == SERIAL_NO_DEVICE)
        return false;
    serial_device_close(device);
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

int serial_device_open_path(const char *path)
{
    const int device = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (device < 0)
        return SERIAL_NO_DEVICE;
    if (!isatty(device) || flock(device, LOCK_EX | LOCK_NB) != 0) {
        close(device);
        return SERIAL_NO_DEVICE;
    }
    ioctl(device, TIOCEXCL);
    tcflush(device, TCIFLUSH);
    return device;
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
    // The exclusive mark outlives the descriptor on a pseudo-terminal whose
    // master stays open; clear it so that the port can be opened again.
    ioctl(device, TIOCNXCL);
    close(device);
}
