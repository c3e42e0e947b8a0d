#include "link/serial_link.h"

#include "link/frame_codec.h"
#include "platform/serial_device.h"

namespace {
constexpr int32_t supportedRates[] = {600,   1200,  2400,  4800,  9600,
                                      14400, 19200, 38400, 57600, 115200};
constexpr size_t TRANSMIT_SIZE = 64;
constexpr size_t RING_SIZE = 64;
constexpr size_t RECEIVE_SIZE = 512;

bool rateSupported(int32_t rate)
{
    for (int32_t supported : supportedRates)
        if (supported == rate)
            return true;
    return false;
}

int8_t checkSettings(const SerialPortSettings *port)
{
    if (!rateSupported(port->baudRate))
        return SERIAL_BAD_BAUD_RATE;
    if (port->dataBits != 7 && port->dataBits != 8)
        return SERIAL_BAD_DATA_BITS;
    const char parity = port->parity ? port->parity[0] : '\0';
    if (parity != 'e' && parity != 'n' && parity != 'o')
        return SERIAL_BAD_PARITY;
    if (port->stopBits != 1 && port->stopBits != 2)
        return SERIAL_BAD_STOP_BITS;
    return SERIAL_OPENED;
}

void closeDevice(SerialPortSettings *port)
{
    serial_device_close(port->handle);
    port->handle = SERIAL_NO_HANDLE;
    port->open = SERIAL_PORT_CLOSED;
}

void trace(const SerialPortSettings *port, WireDirection direction, const uint8_t *bytes, size_t n)
{
    wire_trace_record(port->trace, {direction, true, port->devicePath, port->portNumber,
                                    port->baudRate, bytes, n});
}
} // namespace

void serial_load_settings(SerialPortSettings *port, int32_t comNumber, int32_t baudRate)
{
    if (port->open != SERIAL_PORT_CLOSED)
        return;
    port->portNumber = comNumber;
    port->baudRate = baudRate;
    port->parity = "n";
    port->dataBits = 8;
    port->stopBits = 2;
}

int8_t serial_open(SerialPortSettings *port)
{
    const int8_t checked = checkSettings(port);
    if (checked != SERIAL_OPENED)
        return checked;
    // A device still held from before would stay locked and keep this very
    // port from opening again.
    closeDevice(port);
    port->handle = port->devicePath ? serial_device_open_path(port->devicePath)
                                    : serial_device_open(port->portNumber);
    if (port->handle == SERIAL_NO_DEVICE) {
        port->handle = SERIAL_NO_HANDLE;
        return SERIAL_OPEN_FAILED;
    }
    // A port that refuses its settings is released at once, so that no
    // caller can leave it locked behind a failed open.
    if (serial_device_configure(port->handle, port->baudRate, port->dataBits, port->parity[0],
                                port->stopBits) != 0) {
        closeDevice(port);
        return SERIAL_SETTINGS_REFUSED;
    }
    port->open = SERIAL_PORT_OPEN;
    return SERIAL_OPENED;
}

uint8_t serial_send_frame(const SerialPortSettings *port, const uint8_t *payload, size_t n)
{
    if (n > SERIAL_MAX_PAYLOAD)
        return SERIAL_SEND_FAILED;
    uint8_t transmit[TRANSMIT_SIZE] = {};
    RingBuffer ring;
    ring_init(&ring, transmit, sizeof transmit);
    FrameDescriptor descriptor;
    frame_descriptor_init(&descriptor);
    if (frame_encode(&ring, &descriptor, payload, n) != 0)
        return SERIAL_SEND_FAILED;
    // Encoded into an empty ring, the frame lies at the start of the buffer.
    const size_t frameSize = n + 4;
    trace(port, WIRE_SENT, transmit, frameSize);
    const int written = serial_device_write(port->handle, transmit, frameSize);
    return written == static_cast<int>(frameSize) ? SERIAL_DONE : SERIAL_SEND_FAILED;
}

uint8_t serial_receive_frame(const SerialPortSettings *port, uint8_t *out)
{
    uint8_t storage[RING_SIZE];
    RingBuffer ring;
    ring_init(&ring, storage, sizeof storage);
    FrameDescriptor descriptor;
    frame_descriptor_init(&descriptor);

    uint8_t received[RECEIVE_SIZE];
    const int got = serial_device_read(port->handle, received, sizeof received);
    trace(port, WIRE_RECEIVED, received, got > 0 ? static_cast<size_t>(got) : 0);
    if (got <= 0)
        return SERIAL_NOTHING_RECEIVED;
    // The ring keeps the first 64 bytes; the rest are dropped.
    ring_put(&ring, received, static_cast<size_t>(got));
    // Only a whole frame with a good check byte counts: a garbled one would
    // otherwise pass for the reader's answer whenever its first byte fit.
    if (frame_parse(&ring, out, &descriptor) <= 0)
        return SERIAL_NOTHING_RECEIVED;
    return SERIAL_DONE;
}

int serial_close(SerialPortSettings *port)
{
    closeDevice(port);
    return SERIAL_DONE;
}

uint32_t serial_answer_delay(int32_t baudRate)
{
    switch (baudRate) {
    case 1200:
        return 1000;
    case 2400:
        return 2000;
    case 4800:
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
        return 200;
    default:
        return 1000;
    }
}
