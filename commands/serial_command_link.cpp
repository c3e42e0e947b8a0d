#include "commands/serial_command_link.h"

#include "platform/sleep.h"

CommandFailure SerialCommandLink::open(bool)
{
    SerialPortSettings *port = &session.serial_port;
    serial_close(port);
    session.com_port_number = reader.comNumber;
    port->devicePath = reader.ttyPath.isEmpty() ? nullptr : reader.ttyPath.constData();
    if (!session.detectReader())
        return READER_NOT_FOUND;
    serial_load_settings(port, session.com_port_number, session.com_baud_rate);
    return serial_open(port) == SERIAL_OPENED ? COMMAND_OK : READER_NOT_FOUND;
}

bool SerialCommandLink::send(const uint8_t *payload, size_t n)
{
    return serial_send_frame(&session.serial_port, payload, n) == SERIAL_DONE;
}

bool SerialCommandLink::receive(uint8_t *answer)
{
    platform_sleep(serial_answer_delay(session.com_baud_rate));
    return serial_receive_frame(&session.serial_port, answer) == SERIAL_DONE;
}

CommandFailure SerialCommandLink::close()
{
    serial_close(&session.serial_port);
    return COMMAND_OK;
}

void SerialCommandLink::abandon()
{
    serial_close(&session.serial_port);
}
