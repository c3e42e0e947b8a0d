#include "simulated_port.h"

#include "link/serial_link.h"

#include <QtGlobal>

SimulatedPort::SimulatedPort(int comNumber, int32_t readerRate) : reader(model, readerRate)
{
    if (!reader.isOpen())
        qFatal("no pseudo-terminal for the reader");
    ports.link(comNumber, reader.devicePath());
    sleep.onSleep = [this](uint32_t) { reader.service(); };
    serial_close();
    com_port_number = comNumber;
    com_baud_rate = 2400;
    serial_load_settings(com_baud_rate);
}
