#include "cli/reader_session.h"

#include "cli/cli_options.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "commands/message_catalogue.h"
#include "platform/interrupts.h"
#include "platform/serial_device.h"

namespace {
// The port of the session in progress, closed by an interrupt so that the
// port is not left marked exclusive behind the program.
SerialPortSettings *volatile portInUse = nullptr;

void closePortAndExit()
{
    if (SerialPortSettings *port = portInUse; port && port->handle != SERIAL_NO_HANDLE)
        serial_device_close(port->handle);
    platform_exit_now(EXIT_INTERRUPTED);
}
} // namespace

ReaderSession::ReaderSession(const CliOptions &given, Report &to) : options(given), report(to)
{
    portInUse = &session.serial_port;
    platform_catch_interrupts(closePortAndExit);
}

ReaderSession::~ReaderSession()
{
    portInUse = nullptr;
}

bool ReaderSession::open()
{
    serial = !options.port.isEmpty();
    if (serial) {
        report.data.insert(QStringLiteral("link"), QStringLiteral("serial"));
        QString error;
        if (const int code = resolvePort(options.port, &portName, &error)) {
            report.fail(code, error);
            return false;
        }
        report.data.insert(QStringLiteral("port"), portName.shown);
        if (portName.comNumber)
            session.com_port_number = portName.comNumber;
        else
            session.serial_port.devicePath = portName.devicePath.constData();
        if (options.baudRate)
            session.com_baud_rate = options.baudRate;
        return true;
    }
    report.data.insert(QStringLiteral("link"), QStringLiteral("hid"));
    switch (session.loadHidLibrary()) {
    case HID_LOAD_OK:
        return true;
    case HID_LOAD_NO_FILE:
        report.failWithMessage(EXIT_NOT_FOUND, MESSAGE_HID_LIBRARY_MISSING);
        return false;
    default:
        report.failWithMessage(EXIT_NOT_FOUND, MESSAGE_HID_LIBRARY_INCOMPLETE);
        return false;
    }
}

int ReaderSession::reportPortNotOpened()
{
    const int device = openPort(portName);
    if (device != SERIAL_NO_DEVICE) {
        serial_device_close(device);
        return report.failWithMessage(EXIT_NOT_FOUND, READER_NOT_FOUND);
    }
    return report.fail(EXIT_PORT_UNAVAILABLE, portBusyText(portName));
}

bool ReaderSession::succeeded(CommandFailure failure)
{
    switch (failure) {
    case COMMAND_OK:
        return true;
    case READER_NOT_FOUND:
        // Detection cannot tell a silent port from one another program holds.
        if (serial)
            reportPortNotOpened();
        else
            report.failWithMessage(EXIT_NOT_FOUND, READER_NOT_FOUND);
        return false;
    case CDC_READER_ON_HID:
        report.failWithMessage(EXIT_CDC_ON_HID, CDC_READER_ON_HID);
        return false;
    case CLOSE_FAILED:
        // The window says nothing here; a script must still learn of it.
        report.failWithMessage(EXIT_COMMUNICATION, CLOSE_FAILED,
                               QString::fromUtf8("o dispositivo HID não pôde ser fechado"));
        return false;
    default:
        report.failWithMessage(EXIT_COMMUNICATION, COMMUNICATION_ERROR);
        return false;
    }
}

bool ReaderSession::readConfiguration(uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    return succeeded(readerCommands.readConfiguration(link(), config));
}
