#pragma once
// Replaces the configurator's waits for the life of the object: each wait is
// recorded instead of slept, and an optional action runs in its place (a test
// serves a simulated reader there).
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
