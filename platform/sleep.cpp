#include "platform/sleep.h"

#include <cerrno>
#include <ctime>

namespace {
SleepHook sleepHook = nullptr;
void *sleepContext = nullptr;
} // namespace

void platform_sleep(uint32_t milliseconds)
{
    if (sleepHook) {
        sleepHook(milliseconds, sleepContext);
        return;
    }
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void platform_set_sleep_hook(SleepHook hook, void *context)
{
    sleepHook = hook;
    sleepContext = context;
}
