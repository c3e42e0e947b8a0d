#include "platform/serial_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
int realOpen(const char *path, int flags)
{
    return open(path, flags);
}

int realIoctl(int device, unsigned long request, void *argument)
{
    return ioctl(device, request, argument);
}

constexpr SerialSystem realCalls = {realOpen, realIoctl, flock, close};
const SerialSystem *current = &realCalls;
} // namespace

const SerialSystem &serial_system()
{
    return *current;
}

void serial_system_replace(const SerialSystem *calls)
{
    current = calls ? calls : &realCalls;
}
