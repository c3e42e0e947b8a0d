// read, write and apply: the configuration between the reader and a file.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/config_input.h"
#include "cli/config_view.h"
#include "cli/exit_codes.h"
#include "cli/reader_session.h"
#include "cli/reader_write.h"
#include "cli/report.h"

#include <cstring>

int writeAndVerify(ReaderSession &reader, const uint8_t config[CONFIG_SERIALIZED_SIZE], bool verify,
                   Report &report)
{
    ConfigRecord record;
    record.deserialize(config);
    if (!reader.succeeded(reader.commands().writeConfiguration(reader.link(), record)))
        return report.exitCode();
    report.data.insert(QStringLiteral("written"), true);
    report.data.insert(QStringLiteral("verified"), false);
    if (!verify)
        return EXIT_OK;
    uint8_t back[CONFIG_SERIALIZED_SIZE];
    if (!reader.readConfiguration(back))
        return report.exitCode();
    if (memcmp(config, back, sizeof back) != 0) {
        const QJsonArray differences = configDifferences(config, back);
        report.data.insert(QStringLiteral("differences"), differences);
        return report.fail(EXIT_VERIFY_FAILED,
                           QString::fromUtf8("A configuração lida de volta difere da gravada "
                                             "(gravado -> lido):\n  ") +
                               differenceLines(differences).join(QStringLiteral("\n  ")));
    }
    report.data.insert(QStringLiteral("verified"), true);
    return EXIT_OK;
}

namespace {
// The reader's configuration, and the input's on top of it.
int currentAndTarget(ReaderSession &reader, const ConfigInput &input,
                     uint8_t current[CONFIG_SERIALIZED_SIZE],
                     uint8_t target[CONFIG_SERIALIZED_SIZE], Report &report)
{
    if (!reader.readConfiguration(current))
        return report.exitCode();
    return input.resolve(current, target, report);
}

QString writtenLine(bool verified)
{
    return verified ? QString::fromUtf8("gravada no leitor e conferida")
                    : QString::fromUtf8("gravada no leitor (sem conferência)");
}
} // namespace

int runRead(const CliOptions &options, Report &report)
{
    ReaderSession reader(options, report);
    uint8_t config[CONFIG_SERIALIZED_SIZE];
    if (!reader.open() || !reader.readConfiguration(config))
        return report.exitCode();
    report.data.insert(QStringLiteral("config"), configJson(config));
    if (options.output.isEmpty()) {
        for (const QString &line : configLines(config))
            report.line(line);
        return EXIT_OK;
    }
    if (const int code =
            saveConfiguration(options.output, formatForPath(options.output), config, report))
        return code;
    report.data.insert(QStringLiteral("file"), options.output);
    report.line(QString::fromUtf8("Configuração salva em %1").arg(options.output));
    return EXIT_OK;
}

int runWrite(const CliOptions &options, Report &report)
{
    const QString path = options.arguments.first();
    report.data.insert(QStringLiteral("file"), path);
    ConfigInput input;
    if (const int code = readConfigInput(path, FileUse::Write, options.acceptShort, report, &input))
        return code;
    ReaderSession reader(options, report);
    if (!reader.open())
        return report.exitCode();
    uint8_t config[CONFIG_SERIALIZED_SIZE];
    memcpy(config, input.config, sizeof config);
    if (input.partial() || options.check) {
        uint8_t current[CONFIG_SERIALIZED_SIZE];
        if (const int code = currentAndTarget(reader, input, current, config, report))
            return code;
        if (options.check)
            return reportCheck(current, config, report);
    }
    if (const int code = writeAndVerify(reader, config, options.verify, report))
        return code;
    report.line(QString::fromUtf8("Configuração de %1 ").arg(path) + writtenLine(options.verify));
    return EXIT_OK;
}

int runApply(const CliOptions &options, Report &report)
{
    const QString path = options.arguments.first();
    report.data.insert(QStringLiteral("file"), path);
    ConfigInput input;
    if (const int code = readConfigInput(path, FileUse::Write, options.acceptShort, report, &input))
        return code;
    ReaderSession reader(options, report);
    if (!reader.open())
        return report.exitCode();
    uint8_t current[CONFIG_SERIALIZED_SIZE];
    uint8_t config[CONFIG_SERIALIZED_SIZE];
    if (const int code = currentAndTarget(reader, input, current, config, report))
        return code;
    if (options.check)
        return reportCheck(current, config, report);
    if (memcmp(config, current, sizeof current) == 0) {
        report.data.insert(QStringLiteral("changed"), false);
        report.data.insert(QStringLiteral("result"), QStringLiteral("unchanged"));
        report.line(
            QString::fromUtf8("inalterada: o leitor já tem a configuração de %1").arg(path));
        return EXIT_OK;
    }
    const int code = writeAndVerify(reader, config, options.verify, report);
    // Once written, the reader has changed, even when the check then failed.
    const bool written = report.data.value(QStringLiteral("written")).toBool();
    report.data.insert(QStringLiteral("changed"), written);
    if (written)
        report.data.insert(QStringLiteral("result"), QStringLiteral("changed"));
    if (code != EXIT_OK)
        return code;
    report.line(QString::fromUtf8("alterada: configuração de %1 ").arg(path) +
                writtenLine(options.verify));
    return EXIT_CHANGED;
}
