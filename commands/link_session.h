#pragma once
// What a front end holds to reach the reader: the COM port the operator
// chose, the baud rate the last detection found, the port record of the
// serial link, and the entry points of the loaded HID access library.
#include "link/hid_library.h"
#include "link/serial_detection.h"
#include "link/serial_link.h"

#include <cstdint>
#include <functional>

struct LinkSession
{
    int32_t com_port_number = COM_PORT_AT_START;
    int32_t com_baud_rate = COM_BAUD_RATE_AT_START;
    SerialPortSettings serial_port = SERIAL_PORT_AT_START;
    HidLibrary hidLibrary = {};
    // Set by whoever holds the COM port between commands (the window's read
    // test): called by freePort, so that the port is free.
    std::function<void()> releasePort;

    LinkSession() = default;
    // A session never leaves its port open behind it.
    ~LinkSession() { serial_close(&serial_port); }
    LinkSession(const LinkSession &) = delete;
    LinkSession &operator=(const LinkSession &) = delete;

    // Before a command, or the port dialog, looks at the COM ports.
    void freePort() const
    {
        if (releasePort)
            releasePort();
    }

    // Loads the HID access library into hidLibrary: one of HidLoadResult.
    int loadHidLibrary()
    {
        const int loaded = hid_load_library(&hidLibrary);
        hidLibrary.trace = serial_port.trace; // loading starts the record afresh
        return loaded;
    }

    // Has every frame on either link handed to trace (null: to nobody).
    void followWire(const WireTrace *trace)
    {
        serial_port.trace = trace;
        hidLibrary.trace = trace;
    }

    // Reader detection on COM com_port_number: true when the reader answered
    // the probe; com_baud_rate then holds the rate that worked. The port is
    // closed again either way.
    bool detectReader()
    {
        freePort();
        return serial_detect_reader(&serial_port, com_port_number, &com_baud_rate);
    }
};
