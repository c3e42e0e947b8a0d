#pragma once
// A simulated reader on COM n of a device folder of the test's own. Every
// wait of the configurator is recorded instead of slept, and the reader
// answers in its place. The link session it is given (its own by default)
// is pointed at that port, with the baud rate of start-up.
#include "commands/link_session.h"
#include "port_folder.h"
#include "recording_sleep.h"
#include "sim/pty_reader.h"
#include "sim/reader_model.h"

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
