#include "platform/pseudo_terminal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

int pty_open_master(char *slavePath, size_t size)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0)
        return -1;
    char name[256];
    if (grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0) {
        close(master);
        return -1;
    }
    const int written = snprintf(slavePath, size, "%s", name);
    if (written < 0 || static_cast<size_t>(written) >= size) {
        close(master);
        return -1;
    }
    return master;
}

int pty_open_slave(const char *slavePath)
{
    return open(slavePath, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

bool pty_wait_readable(int master, int timeoutMs)
{
    pollfd entry{master, POLLIN, 0};
    int ready;
    do
        ready = poll(&entry, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && ((entry.revents & POLLIN) != 0);
}

void pty_close(int descriptor)
{
    if (descriptor >= 0)
        close(descriptor);
}
