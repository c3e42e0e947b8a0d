// list: every reader attached, HID and CDC, and who each one is.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/device_choice.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "cli/wire_tracer.h"

#include <QJsonArray>

namespace {
// The readers asked who they are: a JSON array and one text line each.
QJsonArray describe(LinkSession &session, const QList<AttachedReader> &readers, QStringList *lines)
{
    QJsonArray described;
    for (const AttachedReader &reader : readers) {
        const ReaderIdentity identity = askIdentity(session, reader);
        described.append(readerJson(reader, identity));
        *lines << readerLine(reader, identity);
    }
    return described;
}

} // namespace

int refuseSeveral(LinkSession &session, const QList<AttachedReader> &readers, Report &report)
{
    QStringList lines;
    report.data.insert(QStringLiteral("readers"), describe(session, readers, &lines));
    return report.fail(
        EXIT_USAGE, QString::fromUtf8("há %1 leitores conectados; escolha um com --device "
                                      "(caminho, porta USB ou número de série) ou use --all:\n  ")
                            .arg(readers.size()) +
                        lines.join(QStringLiteral("\n  ")));
}

int runList(const CliOptions &options, Report &report)
{
    LinkSession session;
    WireTracer tracer;
    if (options.verbose)
        tracer.follow(session);
    if (const int code = loadReaderLibrary(session, report))
        return code;
    const QList<AttachedReader> readers = attachedReaders(session.hidLibrary);
    QStringList lines;
    report.data.insert(QStringLiteral("readers"), describe(session, readers, &lines));
    if (readers.isEmpty())
        lines << QString::fromUtf8("nenhum leitor conectado");
    for (const QString &line : lines)
        report.line(line);
    return EXIT_OK;
}
