#include "platform/sleep.h"

#include <cerrno>
#include <ctime>

namespace {
SleepHook sleepHook = nullptr;
void *sleepContext = nullptr;
WaitService waitService = nullptr;
void *serviceContext = nullptr;

constexpr int64_t NS_PER_MS = 1000000;
constexpr int64_t NS_PER_S = 1000000000;

int64_t nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * NS_PER_S + now.tv_nsec;
}

void sleepNs(int64_t nanoseconds)
{
    timespec left{static_cast<time_t>(nanoseconds / NS_PER_S),
                  static_cast<long>(nanoseconds % NS_PER_S)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// Serves the front end in slices, against a deadline, so that the whole wait
// lasts as long as asked however long the service takes.
void sleepServed(uint32_t milliseconds)
{
    const int64_t deadline = nowNs() + int64_t{milliseconds} * NS_PER_MS;
    for (;;) {
        waitService(serviceContext);
        const int64_t left = deadline - nowNs();
        if (left <= 0)
            return;
        sleepNs(left < PLATFORM_SLEEP_SLICE_MS * NS_PER_MS ? left
                                                           : PLATFORM_SLEEP_SLICE_MS * NS_PER_MS);
    }
}
} // namespace

void platform_sleep(uint32_t milliseconds)
{
    if (sleepHook) {
        if (waitService)
            waitService(serviceContext);
        sleepHook(milliseconds, sleepContext);
        return;
    }
    if (waitService)
        sleepServed(milliseconds);
    else
        sleepNs(int64_t{milliseconds} * NS_PER_MS);
}

void platform_set_sleep_hook(SleepHook hook, void *context)
{
    sleepHook = hook;
    sleepContext = context;
}

WaitService platform_set_wait_service(WaitService service, void *context, void **previousContext)
{
    const WaitService previous = waitService;
    if (previousContext)
        *previousContext = serviceContext;
    waitService = service;
    serviceContext = context;
    return previous;
}
