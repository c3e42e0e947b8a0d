#pragma once
// The requests the configurator sends. Byte 0 of every request payload is the
// command byte, and the reader's answer must repeat it in its byte 0.
#include <cstddef>
#include <cstdint>

enum CommandByte : uint8_t
{
    CMD_GET_FIRMWARE = 0xAA,
    CMD_SET_DEFAULTS = 0xAB,
    CMD_SET_SERIAL = 0xBB,
    CMD_GET_SERIAL = 0xCC,
    CMD_SET_CONFIG = 0xDD,
    CMD_GET_CONFIG = 0xEE,
    CMD_ENTER_DFU = 0xFF,
};

// Request and answer buffers of one command; both start zero-filled, so a
// text answer always ends inside the buffer.
constexpr size_t COMMAND_BUFFER_SIZE = 256;

// How a command ends. Each front end maps a failure once: the catalogue
// gives its message (failureMessage), velorix-cli its exit code.
enum CommandFailure
{
    COMMAND_OK,
    READER_NOT_FOUND,     // no reader opened, detection failed, or the port would not open
    CDC_READER_ON_HID,    // a configuration write over HID met the CDC product
    COMMUNICATION_ERROR,  // sending or receiving failed, or the answer's echo differs
    CLOSE_FAILED,         // the HID device would not close after a good answer
    SERIAL_NUMBER_LENGTH, // the serial number to write is not six characters
};

// How one command differs from the others on its way through the exchange.
struct CommandExchange
{
    const uint8_t *request;   // the command's request buffer
    size_t length;            // request payload length, command byte included
    bool announce = true;     // show "Detectando leitor" first
    bool alwaysHid = false;   // over HID whatever link the reader is chosen on
    bool identifyCdc = false; // on HID, refuse a reader that presents the CDC product id
    // Reported once the link is open, before anything is sent (0: none).
    CommandFailure verdictOnceOpen = COMMAND_OK;
};
