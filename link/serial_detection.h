#pragma once
// Reader detection on the COM port: a probe at the current baud rate and,
// when the reader stays silent, at each rate of a fixed list.
#include "link/serial_link.h"

#include <cstdint>

// The rates tried by the scan, in order.
constexpr int32_t detect_baud_rates[] = {115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200};

// The probe request, and the first byte of the answer that shows a reader.
constexpr uint8_t DETECT_PROBE = 0xAA;

// How often a port that will not open again during the scan is tried at one
// rate, and the pause between tries, before it counts as gone.
constexpr int DETECT_REOPEN_ATTEMPTS = 3;
constexpr uint32_t DETECT_REOPEN_PAUSE_MS = 100;

// Probes COM comNumber through port, first at *baudRate, then at each rate of
// the scan. True when the reader answered; *baudRate then holds the rate it
// answered at (it is left alone otherwise). The port is closed on return.
bool serial_detect_reader(SerialPortSettings *port, int32_t comNumber, int32_t *baudRate);
