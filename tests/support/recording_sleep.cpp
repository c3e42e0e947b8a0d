#include "recording_sleep.h"

#include "platform/sleep.h"

#include <numeric>

namespace {
void record(uint32_t milliseconds, void *context)
{
    auto *sleep = static_cast<RecordingSleep *>(context);
    sleep->waits.push_back(milliseconds);
    if (sleep->onSleep)
        sleep->onSleep(milliseconds);
}
} // namespace

RecordingSleep::RecordingSleep()
{
    platform_set_sleep_hook(record, this);
}

RecordingSleep::~RecordingSleep()
{
    platform_set_sleep_hook(nullptr, nullptr);
}

uint64_t RecordingSleep::total() const
{
    return std::accumulate(waits.begin(), waits.end(), uint64_t{0});
}
