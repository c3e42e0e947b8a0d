#include "recording_sleep.h"

#include "platform/sleep.h"

RecordingSleep::RecordingSleep()
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

RecordingSleep::~RecordingSleep()
{
    platform_set_sleep_hook(nullptr, nullptr);
}
