// serial, firmware and info: what a reader is, for inventories.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/config_view.h"
#include "cli/exit_codes.h"
#include "cli/reader_session.h"
#include "cli/report.h"

namespace {
// The form's titles for the two values.
const char serialTitle[] = "Número de Série";
const char firmwareTitle[] = "Firmware";

bool readSerial(ReaderSession &reader, Report &report, QString *number)
{
    if (!reader.succeeded(reader.commands().readSerialNumber(reader.link(), number)))
        return false;
    report.data.insert(QStringLiteral("serial"), *number);
    return true;
}

bool readFirmware(ReaderSession &reader, Report &report, QString *version)
{
    if (!reader.succeeded(reader.commands().readFirmware(reader.link(), version)))
        return false;
    report.data.insert(QStringLiteral("firmware"), *version);
    return true;
}
} // namespace

int runSerial(const CliOptions &options, Report &report)
{
    ReaderSession reader(options, report);
    QString number;
    if (!reader.open() || !readSerial(reader, report, &number))
        return report.exitCode();
    report.line(number);
    return EXIT_OK;
}

int runFirmware(const CliOptions &options, Report &report)
{
    ReaderSession reader(options, report);
    QString version;
    if (!reader.open() || !readFirmware(reader, report, &version))
        return report.exitCode();
    report.line(version);
    return EXIT_OK;
}

int runInfo(const CliOptions &options, Report &report)
{
    ReaderSession reader(options, report);
    QString number;
    QString version;
    uint8_t config[CONFIG_SERIALIZED_SIZE];
    if (!reader.open() || !readSerial(reader, report, &number) ||
        !readFirmware(reader, report, &version) || !reader.readConfiguration(config))
        return report.exitCode();
    report.data.insert(QStringLiteral("config"), configJson(config));
    report.line(QString::fromUtf8(serialTitle) + QStringLiteral(": ") + number);
    report.line(QString::fromUtf8(firmwareTitle) + QStringLiteral(": ") + version);
    for (const QString &line : configLines(config))
        report.line(line);
    return EXIT_OK;
}
