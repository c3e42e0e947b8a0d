// convert: a configuration from one format into another.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/config_input.h"
#include "cli/exit_codes.h"
#include "cli/reader_session.h"
#include "cli/report.h"

int runConvert(const CliOptions &options, Report &report)
{
    const QString source = options.arguments.first();
    report.data.insert(QStringLiteral("source"), source);
    uint8_t config[CONFIG_SERIALIZED_SIZE];
    if (source == QLatin1String("reader")) {
        ReaderSession reader(options, report);
        if (!reader.open() || !reader.readConfiguration(config))
            return report.exitCode();
    } else if (const int code = readWholeConfiguration(source, FileUse::Show, report, config)) {
        return code;
    }
    if (const int code =
            saveConfiguration(options.output, formatForPath(options.output), config, report))
        return code;
    report.data.insert(QStringLiteral("file"), options.output);
    report.line(QString::fromUtf8("Configuração de %1 salva em %2").arg(source, options.output));
    return EXIT_OK;
}
