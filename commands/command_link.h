#pragma once
// What the one exchange asks of a link, whichever kind it is. Each kind has
// its adapter (hid_command_link.h, serial_command_link.h); the exchange
// opens, sends, receives and closes through this interface alone.
#include "commands/command_set.h"

#include <cstddef>
#include <cstdint>

class CommandLink
{
public:
    // Opens the link and makes sure a reader is there: COMMAND_OK,
    // READER_NOT_FOUND, or with refuseCdc on HID CDC_READER_ON_HID.
    virtual CommandFailure open(bool refuseCdc) = 0;
    virtual bool send(const uint8_t *payload, size_t n) = 0;
    // Waits what the link needs for the answer, then decodes it into answer.
    virtual bool receive(uint8_t *answer) = 0;
    // After an accepted answer: COMMAND_OK or CLOSE_FAILED.
    virtual CommandFailure close() = 0;
    // After a failure at any step.
    virtual void abandon() = 0;

protected:
    ~CommandLink() = default;
};
