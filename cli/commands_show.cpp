// show and diff: configurations decoded field by field, from files or the reader.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/config_input.h"
#include "cli/config_view.h"
#include "cli/exit_codes.h"
#include "cli/reader_session.h"
#include "cli/report.h"

#include <memory>

namespace {
const QString readerSource = QStringLiteral("reader");

// A configuration from a file or, for "reader", from the reader (opened
// once however often it is named). Returns 0 or the failure's code.
class Sources
{
public:
    Sources(const CliOptions &given, Report &to) : options(given), report(to) {}

    int obtain(const QString &source, uint8_t config[CONFIG_SERIALIZED_SIZE])
    {
        if (source != readerSource)
            return readWholeConfiguration(source, FileUse::Show, report, config);
        if (!reader) {
            reader = std::make_unique<ReaderSession>(options, report);
            if (!reader->open())
                return report.exitCode();
        }
        return reader->readConfiguration(config) ? 0 : report.exitCode();
    }

private:
    const CliOptions &options;
    Report &report;
    std::unique_ptr<ReaderSession> reader;
};
} // namespace

int runShow(const CliOptions &options, Report &report)
{
    const QString source = options.arguments.value(0, readerSource);
    report.data.insert(QStringLiteral("source"), source);
    Sources sources(options, report);
    uint8_t config[CONFIG_SERIALIZED_SIZE];
    if (const int code = sources.obtain(source, config))
        return code;
    report.data.insert(QStringLiteral("config"), configJson(config));
    for (const QString &line : configLines(config))
        report.line(line);
    return EXIT_OK;
}

int runDiff(const CliOptions &options, Report &report)
{
    const QString a = options.arguments.at(0);
    const QString b = options.arguments.at(1);
    report.data.insert(QStringLiteral("a"), a);
    report.data.insert(QStringLiteral("b"), b);
    Sources sources(options, report);
    uint8_t left[CONFIG_SERIALIZED_SIZE];
    uint8_t right[CONFIG_SERIALIZED_SIZE];
    if (const int code = sources.obtain(a, left))
        return code;
    if (const int code = sources.obtain(b, right))
        return code;
    const QJsonArray differences = configDifferences(left, right);
    report.data.insert(QStringLiteral("equal"), differences.isEmpty());
    report.data.insert(QStringLiteral("differences"), differences);
    if (differences.isEmpty()) {
        report.line(QString::fromUtf8("As configurações são iguais."));
        return EXIT_OK;
    }
    for (const QString &line : differenceLines(differences))
        report.line(line);
    return EXIT_DIFFERENT;
}
