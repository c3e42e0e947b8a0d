// watch: what a reader in "Serial" mode sends when it reads a document,
// byte by byte as it arrives, one read per line, until interrupted.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/config_files.h"
#include "cli/exit_codes.h"
#include "cli/reader_session.h"
#include "cli/report.h"
#include "config/byte_names.h"
#include "config/read_line.h"
#include "platform/interrupts.h"
#include "platform/serial_device.h"

#include <QJsonDocument>
#include <csignal>

namespace {
// How long one wait lasts before the interrupt flag is looked at again.
constexpr int WAIT_SLICE_MS = 250;
constexpr size_t READ_SIZE = 512;
// The signal that ends the watch (0: none yet). Ctrl+C is its ordinary end;
// SIGTERM and SIGHUP end it with their own exit codes.
volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int signal)
{
    stopRequested = signal;
}

ReadLine lineOf(const uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    ConfigRecord record;
    record.deserialize(config);
    return readLineOf(record);
}

bool allGiven(const CliOptions &options)
{
    return options.baudRate && options.parity && options.dataBits && options.stopBits;
}

// The line settings: the configuration's (file or reader), then the options.
int obtainLine(const CliOptions &options, Report &report, ReadLine *line)
{
    if (!allGiven(options)) {
        const QString source = options.arguments.value(0, QStringLiteral("reader"));
        report.data.insert(QStringLiteral("source"), source);
        uint8_t config[CONFIG_SERIALIZED_SIZE];
        if (source == QLatin1String("reader")) {
            // --baud is the rate to watch at, not where detection starts.
            CliOptions reading = options;
            reading.baudRate = 0;
            ReaderSession reader(reading, report);
            if (!reader.open() || !reader.readConfiguration(config))
                return report.exitCode();
        } else if (const int code =
                       readConfigurationFile(source, FileUse::Show, true, report, config)) {
            return code;
        }
        *line = lineOf(config);
    }
    line->baudRate = options.baudRate ? options.baudRate : line->baudRate;
    line->parity = options.parity ? options.parity : line->parity;
    line->dataBits = options.dataBits ? options.dataBits : line->dataBits;
    line->stopBits = options.stopBits ? options.stopBits : line->stopBits;
    if (!line->baudRate)
        return report.fail(EXIT_USAGE, QString::fromUtf8("a configuração não tem uma velocidade "
                                                         "da lista; informe-a com --baud"));
    if (!line->parity)
        return report.fail(EXIT_USAGE, QString::fromUtf8("a configuração não tem uma paridade da "
                                                         "lista; informe-a com --parity"));
    return 0;
}

void printRead(const uint8_t *bytes, size_t n, bool json)
{
    if (!json) {
        printOut(byteText(bytes, n) + QLatin1Char('\n'));
        return;
    }
    const QJsonObject read{{"bytes", byteHex(bytes, n)}, {"text", byteText(bytes, n)}};
    printOut(QString::fromUtf8(QJsonDocument(read).toJson(QJsonDocument::Compact)) +
             QLatin1Char('\n'));
}

int watch(int device, Report &report)
{
    uint8_t buffer[READ_SIZE];
    int reads = 0;
    while (!stopRequested) {
        if (!serial_device_wait_readable(device, WAIT_SLICE_MS))
            continue;
        // Readable but empty: the line has hung up (the reader was unplugged).
        const int n = serial_device_read(device, buffer, sizeof buffer);
        if (n <= 0)
            return report.failWithMessage(EXIT_COMMUNICATION, COMMUNICATION_ERROR,
                                          QString::fromUtf8("a porta foi desligada"));
        ++reads;
        printRead(buffer, size_t(n), report.json);
    }
    report.data.insert(QStringLiteral("reads"), reads);
    if (stopRequested == SIGINT)
        return EXIT_OK;
    const int code = exitCodeOfSignal(stopRequested);
    return report.fail(code, QString::fromUtf8("encerrado pelo sinal %1").arg(int(stopRequested)));
}
} // namespace

int runWatch(const CliOptions &options, Report &report)
{
    report.compact = true; // the last of a stream of one-line objects
    PortName port;
    QString error;
    if (const int code = resolvePort(options.port, &port, &error))
        return report.fail(code, error);
    report.data.insert(QStringLiteral("port"), port.shown);
    ReadLine line;
    if (const int code = obtainLine(options, report, &line))
        return code;
    platform_catch_interrupts(requestStop);
    const int device = openPort(port);
    if (device == SERIAL_NO_DEVICE)
        return report.fail(EXIT_PORT_UNAVAILABLE, portBusyText(port));
    int code = EXIT_OK;
    if (serial_device_configure(device, line.baudRate, line.dataBits, line.parity, line.stopBits) !=
        0) {
        code = report.fail(
            EXIT_COMMUNICATION,
            QString::fromUtf8("a porta %1 não aceitou %2").arg(port.shown, describeReadLine(line)));
    } else {
        if (!options.quiet)
            printErr(QString::fromUtf8("Aguardando dados em %1: %2 (Ctrl+C encerra)\n")
                         .arg(port.shown, describeReadLine(line)));
        code = watch(device, report);
    }
    serial_device_close(device);
    return code;
}
