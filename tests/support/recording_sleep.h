#pragma once
// While it lives, each wait is recorded instead of slept, and onSleep runs in its place.
#include <cstdint>
#include <functional>
#include <vector>

class RecordingSleep
{
public:
    RecordingSleep();
    ~RecordingSleep();
    RecordingSleep(const RecordingSleep &) = delete;
    RecordingSleep &operator=(const RecordingSleep &) = delete;

    std::vector<uint32_t> waits;
    std::function<void(uint32_t)> onSleep;
};
