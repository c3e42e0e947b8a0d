#pragma once
// The exchange over a serial port: detection on the reader's port, then the
// port opened at the rate found, for one request and one answer. The port
// is closed again whatever happens.
#include "commands/command_link.h"
#include "commands/link_session.h"
#include "commands/reader.h"

class SerialCommandLink final : public CommandLink
{
public:
    SerialCommandLink(LinkSession &linkSession, const Reader &chosen)
        : session(linkSession), reader(chosen)
    {}
    ~SerialCommandLink() { session.serial_port.devicePath = nullptr; }
    SerialCommandLink(const SerialCommandLink &) = delete;
    SerialCommandLink &operator=(const SerialCommandLink &) = delete;

    CommandFailure open(bool refuseCdc) override;
    bool send(const uint8_t *payload, size_t n) override;
    bool receive(uint8_t *answer) override;
    CommandFailure close() override;
    void abandon() override;

private:
    LinkSession &session;
    const Reader &reader;
};
