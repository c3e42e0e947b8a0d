#include "cli/report.h"

#include "cli/exit_codes.h"
#include "commands/message_catalogue.h"

#include <QJsonDocument>
#include <cstdio>

namespace {
void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    fflush(stream);
}
} // namespace

void printOut(const QString &text)
{
    print(stdout, text);
}

void printErr(const QString &text)
{
    print(stderr, text);
}

namespace {
bool warningsSilenced = false;
} // namespace

void silenceWarnings()
{
    warningsSilenced = true;
}

void warn(const QString &text)
{
    if (!warningsSilenced)
        printErr(QString::fromUtf8("aviso: ") + text + QLatin1Char('\n'));
}

int Report::fail(int code, const QString &text, int message)
{
    if (failure == 0) {
        failure = code;
        errorText = text;
        errorMessage = message;
    }
    return failure;
}

int Report::failWithMessage(int code, int message, const QString &detail)
{
    const CatalogueMessage *entry = catalogueMessage(message);
    QString text = entry ? QString::fromUtf8(entry->text) : QString();
    if (!detail.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(": ")) + detail;
    return fail(code, text, message);
}

QJsonObject Report::object(int code) const
{
    if (failure != 0)
        code = failure;
    QJsonObject object{
        {"schema", JSON_SCHEMA}, {"command", command}, {"ok", failure == 0}, {"exit_code", code}};
    if (failure != 0) {
        object.insert(QStringLiteral("error"), errorText);
        object.insert(QStringLiteral("error_code"), QString::fromLatin1(errorCodeName(failure)));
        if (errorMessage != 0)
            object.insert(QStringLiteral("message"), errorMessage);
    }
    for (auto it = data.begin(); it != data.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

int Report::finish(int code)
{
    if (failure != 0)
        code = failure;
    if (json) {
        const auto format = compact ? QJsonDocument::Compact : QJsonDocument::Indented;
        QByteArray text = QJsonDocument(object(code)).toJson(format);
        if (!text.endsWith('\n'))
            text += '\n';
        printOut(QString::fromUtf8(text));
        return code;
    }
    // Lines moved to standard error are no failures: -q keeps them back.
    for (const QString &text : lines)
        if (!linesOnStderr)
            printOut(text + QLatin1Char('\n'));
        else if (!warningsSilenced)
            printErr(text + QLatin1Char('\n'));
    // The catalogue's texts stand as the window shows them; the others say
    // whose they are.
    if (failure != 0)
        printErr((errorMessage ? QString() : QStringLiteral("velorix-cli: ")) + errorText +
                 QLatin1Char('\n'));
    return code;
}
