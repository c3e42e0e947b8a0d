#pragma once
// The one place where the configurator waits. Every pause of the reader link
// goes through platform_sleep, so a test can replace the wait, record it, and
// service a simulated reader while the configurator "sleeps".
#include <cstdint>

typedef void (*SleepHook)(uint32_t milliseconds, void *context);
typedef void (*WaitService)(void *context);

// The longest stretch a wait goes without running the wait service.
constexpr uint32_t PLATFORM_SLEEP_SLICE_MS = 25;

// Blocks the calling thread for the given time, or hands the wait to the hook.
// With a wait service set, the real wait runs it at the start and then every
// PLATFORM_SLEEP_SLICE_MS until the time is up (the time the service takes
// counts towards the wait); a hooked wait runs it once, before the hook.
void platform_sleep(uint32_t milliseconds);

// Replaces the real wait; a null hook restores it.
void platform_set_sleep_hook(SleepHook hook, void *context);

// What a front end does while the program waits (a window repaints); null
// for none. Returns the service it replaces, with its context.
WaitService platform_set_wait_service(WaitService service, void *context,
                                      void **previousContext = nullptr);
