#pragma once
// The one place where the configurator waits. Every pause of the reader link
// goes through platform_sleep, so a test can replace the wait, record it, and
// service a simulated reader while the configurator "sleeps".
#include <cstdint>

typedef void (*SleepHook)(uint32_t milliseconds, void *context);

// Blocks the calling thread for the given time, or hands the wait to the hook.
void platform_sleep(uint32_t milliseconds);

// Replaces the real wait; a null hook restores it.
void platform_set_sleep_hook(SleepHook hook, void *context);
