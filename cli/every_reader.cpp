#include "cli/every_reader.h"

#include "cli/cli_options.h"
#include "cli/device_choice.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "commands/message_catalogue.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
int rank(int code)
{
    return code == EXIT_OK ? 0 : code == EXIT_CHANGED ? 1 : 2;
}

struct Tally
{
    int changed = 0;
    int done = 0;
    int failed = 0;
};

QString summary(const Tally &tally, bool apply)
{
    const int readers = tally.changed + tally.done + tally.failed;
    if (apply)
        return QString::fromUtf8("%1 leitores: %2 alterados, %3 inalterados, %4 com falha")
            .arg(readers)
            .arg(tally.changed)
            .arg(tally.done)
            .arg(tally.failed);
    return QString::fromUtf8("%1 leitores: %2 concluídos, %3 com falha")
        .arg(readers)
        .arg(tally.done)
        .arg(tally.failed);
}

// The options for one reader: named by its path; read -o DIR saves into
// DIR/<serial number>.cfg (the USB port path when the reader has none).
CliOptions optionsFor(const CliOptions &options, const AttachedReader &reader,
                      const ReaderIdentity &identity)
{
    CliOptions one = options;
    one.all = false;
    one.device = reader.path();
    if (options.command == CliCommand::Read) {
        const QString name = identity.serial.isEmpty() ? reader.portPath : identity.serial;
        one.output = QDir(options.output).filePath(name + QStringLiteral(".cfg"));
    }
    return one;
}
} // namespace

int worseExitCode(int a, int b)
{
    if (rank(a) != rank(b))
        return rank(a) > rank(b) ? a : b;
    return a > b ? a : b;
}

int runOnEveryReader(const CliOptions &options, CommandRun run)
{
    Report overall(options.json, options.commandName);
    LinkSession session;
    if (const int code = loadReaderLibrary(session, overall))
        return overall.finish(code);
    const QList<AttachedReader> readers = attachedReaders(session.hidLibrary);
    if (readers.isEmpty())
        return overall.finish(overall.failWithMessage(EXIT_NOT_FOUND, MESSAGE_NOT_FOUND));
    QJsonArray results;
    Tally tally;
    int worst = EXIT_OK;
    for (const AttachedReader &reader : readers) {
        const ReaderIdentity identity = askIdentity(session, reader);
        Report one(options.json, options.commandName);
        if (!options.json)
            printOut(QStringLiteral("== ") + readerLine(reader, identity) + QLatin1Char('\n'));
        int code = run(optionsFor(options, reader, identity), one);
        code = one.failed() ? one.exitCode() : code;
        one.data.insert(QStringLiteral("reader"), readerJson(reader, identity));
        if (options.json)
            results.append(one.object(code));
        else
            one.finish(code);
        (code == EXIT_CHANGED ? tally.changed : code == EXIT_OK ? tally.done : tally.failed)++;
        worst = worseExitCode(worst, code);
    }
    const bool apply = options.command == CliCommand::Apply;
    if (options.json)
        printOut(QString::fromUtf8(QJsonDocument(results).toJson(QJsonDocument::Indented)));
    else
        printOut(summary(tally, apply) + QLatin1Char('\n'));
    return worst;
}
