#include "link/serial_detection.h"

#include "link/serial_link.h"
#include "platform/sleep.h"

namespace {
constexpr size_t BUFFER_SIZE = 256;

// One probe on the open port. The wait is spent even when sending failed.
bool probe(SerialPortSettings *port, int32_t baudRate, const uint8_t *request, uint8_t *answer)
{
    port->open = SERIAL_PORT_OPEN;
    const bool sent = serial_send_frame(port, request, 1) == SERIAL_DONE;
    platform_sleep(serial_answer_delay(baudRate));
    return sent && serial_receive_frame(port, answer) == SERIAL_DONE && answer[0] == DETECT_PROBE;
}

// Opens the port again at another rate. A port that keeps failing has been
// unplugged or taken by another program; give up rather than hang.
bool reopenAt(SerialPortSettings *port, int32_t comNumber, int32_t baudRate)
{
    for (int attempt = 1;; ++attempt) {
        serial_close(port);
        serial_load_settings(port, comNumber, baudRate);
        if (serial_open(port) == SERIAL_OPENED)
            return true;
        if (attempt == DETECT_REOPEN_ATTEMPTS)
            return false;
        platform_sleep(DETECT_REOPEN_PAUSE_MS);
    }
}

bool scan(SerialPortSettings *port, int32_t comNumber, int32_t *baudRate, const uint8_t *request,
          uint8_t *answer)
{
    for (int32_t rate : detect_baud_rates) {
        if (!reopenAt(port, comNumber, rate))
            return false;
        if (probe(port, rate, request, answer)) {
            *baudRate = rate;
            return true;
        }
    }
    return false;
}
} // namespace

bool serial_detect_reader(SerialPortSettings *port, int32_t comNumber, int32_t *baudRate)
{
    serial_load_settings(port, comNumber, *baudRate);
    uint8_t request[BUFFER_SIZE] = {DETECT_PROBE};
    uint8_t answer[BUFFER_SIZE] = {};

    bool found = false;
    if (serial_open(port) == SERIAL_OPENED)
        found = probe(port, *baudRate, request, answer) ||
                scan(port, comNumber, baudRate, request, answer);
    serial_close(port);
    return found;
}
