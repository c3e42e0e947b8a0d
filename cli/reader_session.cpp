#include "cli/reader_session.h"

#include "cli/cli_options.h"
#include "cli/device_choice.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "commands/message_catalogue.h"
#include "platform/interrupts.h"
#include "platform/serial_device.h"

namespace {
// The tool's exit code for each way a command can end.
int exitCodeOf(CommandFailure failure)
{
    switch (failure) {
    case COMMAND_OK:
        return EXIT_OK;
    case READER_NOT_FOUND:
        return EXIT_NOT_FOUND;
    case CDC_READER_ON_HID:
        return EXIT_CDC_ON_HID;
    case COMMUNICATION_ERROR:
    case CLOSE_FAILED:
    case SERIAL_NUMBER_LENGTH:
        return EXIT_COMMUNICATION;
    }
    return EXIT_COMMUNICATION;
}

// The port of the session in progress, closed by an interrupt so that the
// port is not left marked exclusive behind the program.
SerialPortSettings *volatile portInUse = nullptr;

void closePortAndExit(int signal)
{
    if (SerialPortSettings *port = portInUse; port && port->handle != SERIAL_NO_HANDLE)
        serial_device_close(port->handle);
    platform_exit_now(exitCodeOfSignal(signal));
}
} // namespace

ReaderSession::ReaderSession(const CliOptions &given, Report &to) : options(given), report(to)
{
    portInUse = &session.serial_port;
    platform_catch_interrupts(closePortAndExit);
    progress.quiet = options.quiet;
    if (options.verbose)
        tracer.follow(session);
}

ReaderSession::~ReaderSession()
{
    portInUse = nullptr;
}

bool ReaderSession::choosePort(const QString &text)
{
    serial = true;
    report.data.insert(QStringLiteral("link"), QStringLiteral("serial"));
    QString error;
    if (const int code = resolvePort(text, &portName, &error)) {
        report.fail(code, error);
        return false;
    }
    report.data.insert(QStringLiteral("port"), portName.shown);
    chosen = portName.comNumber ? Reader::comPort(portName.comNumber)
                                : Reader::comPort(0, portName.devicePath);
    if (options.baudRate)
        session.com_baud_rate = options.baudRate;
    return true;
}

// The reader --device names, or the only one attached.
bool ReaderSession::chooseAttached()
{
    const QList<AttachedReader> readers = attachedReaders(session.hidLibrary);
    if (!options.device.isEmpty() && namesSerialPort(readers, options.device))
        return choosePort(options.device);
    report.data.insert(QStringLiteral("link"), QStringLiteral("hid"));
    if (options.device.isEmpty()) {
        if (readers.size() > 1)
            return refuseSeveral(session, readers, report) == 0;
        return true; // the first reader, as the window finds it
    }
    AttachedReader found;
    if (!findDevice(session, readers, options.device, &found)) {
        report.failWithMessage(EXIT_NOT_FOUND, MESSAGE_NOT_FOUND, options.device);
        return false;
    }
    if (found.reader().link == ReaderLink::Serial)
        return choosePort(found.path());
    chosen = found.reader();
    tracer.setHidDevice(found.path());
    report.data.insert(QStringLiteral("path"), found.path());
    return true;
}

bool ReaderSession::open()
{
    if (!options.port.isEmpty())
        return choosePort(options.port);
    if (namesComPort(options.device))
        return choosePort(options.device); // needs no HID library
    if (loadReaderLibrary(session, report) != EXIT_OK) {
        report.data.insert(QStringLiteral("link"), QStringLiteral("hid"));
        return false;
    }
    return chooseAttached();
}

int ReaderSession::reportPortNotOpened()
{
    const int device = ::openPort(portName);
    if (device != SERIAL_NO_DEVICE) {
        serial_device_close(device);
        return report.failWithMessage(EXIT_NOT_FOUND, MESSAGE_NOT_FOUND);
    }
    return report.fail(EXIT_PORT_UNAVAILABLE, portBusyText(portName));
}

bool ReaderSession::succeeded(CommandFailure failure)
{
    if (failure == COMMAND_OK)
        return true;
    // Detection cannot tell a silent port from one another program holds.
    if (failure == READER_NOT_FOUND && serial)
        reportPortNotOpened();
    else if (failure == CLOSE_FAILED)
        // The window says nothing here; a script must still learn of it.
        report.failWithMessage(exitCodeOf(failure), failureMessage(failure),
                               QString::fromUtf8("o dispositivo HID não pôde ser fechado"));
    else
        report.failWithMessage(exitCodeOf(failure), failureMessage(failure));
    return false;
}

bool ReaderSession::readConfiguration(uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    return succeeded(readerCommands.readConfiguration(link(), config));
}
