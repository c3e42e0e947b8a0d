#pragma once
// The exchange over HID reports: the reader the library lists at a path, or
// the first one Init_HID finds. A failed command leaves the device open, as
// the library allows; the next open takes it again.
#include "commands/command_link.h"
#include "link/hid_library.h"

class HidCommandLink final : public CommandLink
{
public:
    HidCommandLink(const HidLibrary &hidLibrary, const HidUsbDevice &listed)
        : library(hidLibrary), device(listed)
    {}

    CommandFailure open(bool refuseCdc) override;
    bool send(const uint8_t *payload, size_t n) override;
    bool receive(uint8_t *answer) override;
    CommandFailure close() override;
    void abandon() override {}

private:
    const HidLibrary &library;
    const HidUsbDevice &device; // an empty path: the first reader
};
