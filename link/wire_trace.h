#pragma once
// The bytes a link puts on the wire and takes from it, handed to whoever
// asked to follow them (velorix-cli -v). The links only call the observer;
// what is shown, and how, is the front end's.
#include <cstddef>
#include <cstdint>

enum WireDirection
{
    WIRE_SENT = 0,
    WIRE_RECEIVED = 1,
};

struct WireEvent
{
    WireDirection direction;
    bool serial;          // a serial port; false: HID reports
    const char *device;   // serial: the device's path, or null for COM portNumber
    int32_t portNumber;   // serial: n of COMn
    int32_t baudRate;     // serial: the line's rate
    const uint8_t *bytes; // the frame (received: all that arrived; none: nothing did)
    size_t size;
};

struct WireTrace
{
    void (*record)(void *context, const WireEvent *event);
    void *context;
};

// Hands the event to the trace, when there is one.
inline void wire_trace_record(const WireTrace *trace, const WireEvent &event)
{
    if (trace && trace->record)
        trace->record(trace->context, &event);
}
