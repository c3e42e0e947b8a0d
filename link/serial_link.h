#pragma once
// The serial port link: one exchange opens the COM port, sends one request
// frame, waits a time that depends on the baud rate, reads once, parses one
// answer frame and closes the port. The port is held only for one exchange.
#include "link/wire_trace.h"

#include <cstddef>
#include <cstdint>

// The one port the link uses.
struct SerialPortSettings
{
    int32_t portNumber; // n of "COM" + n
    int32_t baudRate;
    int32_t dataBits;   // 7 or 8
    const char *parity; // first character: 'n' none, 'o' odd, 'e' even
    int32_t stopBits;   // 1 or 2
    int handle;         // the open device, or SERIAL_NO_HANDLE
    uint8_t open;       // SERIAL_PORT_OPEN while the port is open, else SERIAL_PORT_CLOSED
    // A device named by its path, opened instead of COM portNumber; null for
    // the COM table. Kept by serial_load_settings; the owner keeps the text.
    const char *devicePath = nullptr;
    // Follows every frame sent and everything received (null: nobody does).
    const WireTrace *trace = nullptr;
};

constexpr int SERIAL_NO_HANDLE = -1;
constexpr uint8_t SERIAL_PORT_CLOSED = 0;
constexpr uint8_t SERIAL_PORT_OPEN = 1;

// Results of serial_open.
constexpr int8_t SERIAL_OPENED = 0;
constexpr int8_t SERIAL_OPEN_FAILED = -1;      // missing, held elsewhere, or no serial port
constexpr int8_t SERIAL_SETTINGS_REFUSED = -2; // the driver would not take the settings
constexpr int8_t SERIAL_BAD_BAUD_RATE = -3;
constexpr int8_t SERIAL_BAD_DATA_BITS = -4;
constexpr int8_t SERIAL_BAD_PARITY = -5;
constexpr int8_t SERIAL_BAD_STOP_BITS = -6;

// Results of sending and receiving.
constexpr uint8_t SERIAL_DONE = 0;
constexpr uint8_t SERIAL_SEND_FAILED = 255;
constexpr uint8_t SERIAL_NOTHING_RECEIVED = 226;

// The longest payload a request frame may carry.
constexpr size_t SERIAL_MAX_PAYLOAD = 60;

// The port number chosen in the port dialog and the rate found by reader
// detection, as they stand before either has happened.
constexpr int32_t COM_PORT_AT_START = 1;
constexpr int32_t COM_BAUD_RATE_AT_START = 2400;
constexpr SerialPortSettings SERIAL_PORT_AT_START = {
    COM_PORT_AT_START, COM_BAUD_RATE_AT_START, 8, "n", 2, SERIAL_NO_HANDLE, 0};

// Loads port with COM comNumber, this rate, "n", 8, 2 -- only while open is clear.
void serial_load_settings(SerialPortSettings *port, int32_t comNumber, int32_t baudRate);

// Checks the settings, then opens the port exclusively and sets the line.
// SERIAL_OPENED, or one of the negative results above. On failure no device
// is held.
int8_t serial_open(SerialPortSettings *port);

// Sends one frame around the payload on the open port. SERIAL_DONE, or
// SERIAL_SEND_FAILED when writing failed or the payload is over
// SERIAL_MAX_PAYLOAD bytes (nothing is sent then).
uint8_t serial_send_frame(const SerialPortSettings *port, const uint8_t *payload, size_t n);

// Reads once what has arrived and parses one answer frame from its first 64
// bytes into out (at least 65 bytes, zero-filled by the caller). SERIAL_DONE
// when a whole frame arrived; SERIAL_NOTHING_RECEIVED when nothing did, the
// read failed, or what arrived held no frame with a good trailer and check byte.
uint8_t serial_receive_frame(const SerialPortSettings *port, uint8_t *out);

// Closes the port's device if it holds one; clears handle and open. SERIAL_DONE.
int serial_close(SerialPortSettings *port);

// Milliseconds to wait between a request and reading its answer.
uint32_t serial_answer_delay(int32_t baudRate);
