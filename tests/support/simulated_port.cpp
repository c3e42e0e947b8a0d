#include "simulated_port.h"

#include <QtGlobal>

SimulatedPort::SimulatedPort(int comNumber, int32_t readerRate, LinkSession *user)
    : reader(model, readerRate), session(user ? *user : ownSession)
{
    if (!reader.isOpen())
        qFatal("no pseudo-terminal for the reader");
    ports.link(comNumber, reader.devicePath());
    sleep.onSleep = [this](uint32_t) { reader.service(); };
    serial_close(&session.serial_port);
    session.com_port_number = comNumber;
    session.com_baud_rate = COM_BAUD_RATE_AT_START;
    serial_load_settings(&session.serial_port, comNumber, session.com_baud_rate);
}
