#pragma once
// While it lives, each wait is recorded instead of slept, and onSleep runs in its place.
#include "platform/sleep.h"

#include <functional>
#include <vector>

class RecordingSleep
{
public:
    RecordingSleep()
    {
        platform_set_sleep_hook(
            [](uint32_t milliseconds, void *context) {
                auto *sleep = static_cast<RecordingSleep *>(context);
                sleep->waits.push_back(milliseconds);
                if (sleep->onSleep)
                    sleep->onSleep(milliseconds);
            },
            this);
    }
    ~RecordingSleep() { platform_set_sleep_hook(nullptr, nullptr); }
    RecordingSleep(const RecordingSleep &) = delete;
    RecordingSleep &operator=(const RecordingSleep &) = delete;

    std::vector<uint32_t> waits;
    std::function<void(uint32_t)> onSleep;
};
