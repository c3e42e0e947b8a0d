#pragma once
// A simulated reader on COM n of a device folder of the test's own. Every
// wait of the configurator is recorded instead of slept, and the reader
// answers in its place. The serial link's settings start as at start-up.
#include "port_folder.h"
#include "recording_sleep.h"
#include "sim/pty_reader.h"
#include "sim/reader_model.h"

class SimulatedPort
{
public:
    explicit SimulatedPort(int comNumber = 65, int32_t readerRate = 2400);

    PortFolder ports;
    ReaderModel model;
    PtyReader reader;
    RecordingSleep sleep;
};
