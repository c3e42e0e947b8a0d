#pragma once
// A simulated reader on COM n of the test's own device folder; the waits are
// recorded, not slept, and the reader answers in their place. The session
// given (its own by default) points at that port at the start-up baud rate.
#include "commands/link_session.h"
#include "port_folder.h"
#include "recording_sleep.h"
#include "sim/pty_reader.h"

class SimulatedPort
{
public:
    explicit SimulatedPort(int comNumber = 65, int32_t readerRate = 2400,
                           LinkSession *user = nullptr);

    PortFolder ports;
    ReaderModel model;
    PtyReader reader;
    RecordingSleep sleep;
    LinkSession ownSession;
    LinkSession &session;
};
