#include "cli/config_files.h"

#include "cli/exit_codes.h"
#include "cli/report.h"
#include "cli/standard_streams.h"
#include "commands/message_catalogue.h"
#include "config/config_file_format.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace {
int fileFailure(Report &report, const QString &path, const QString &why)
{
    return report.failWithMessage(EXIT_FILE, MESSAGE_FILE_NOT_OPENED,
                                  QStringLiteral("%1 (%2)").arg(path, why));
}

// Why a file could not be read, in the operator's words. The file format
// refuses it; this only says what was seen.
QString unreadable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString::fromUtf8("o arquivo não existe");
    if (!info.isFile())
        return QString::fromUtf8("não é um arquivo comum");
    if (!info.isReadable())
        return QString::fromUtf8("sem permissão de leitura");
    return QString::fromUtf8("erro de leitura");
}

QString unsaved(const QString &path)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return QString::fromUtf8("a pasta não existe");
    if (info.exists() && !info.isFile())
        return QString::fromUtf8("não é um arquivo comum");
    return QString::fromUtf8("sem permissão de escrita, ou o disco está cheio");
}

// What is odd about a file that the window did not write as it is; empty
// when nothing is.
QString oddity(const QString &path, const ConfigFileShape &shape)
{
    if (shape.size != int64_t(CONFIG_FILE_SIZE))
        return QString::fromUtf8("%1 tem %2 bytes; um arquivo de configuração tem %3")
            .arg(path)
            .arg(shape.size)
            .arg(CONFIG_FILE_SIZE);
    if (shape.count != CONFIG_FILE_COUNT)
        return QString::fromUtf8("%1 começa com o byte 0x%2, não 0x%3")
            .arg(path)
            .arg(shape.count, 2, 16, QLatin1Char('0'))
            .arg(CONFIG_FILE_COUNT, 2, 16, QLatin1Char('0'));
    return {};
}
// Standard input read as loadConfigFile reads a file: the count byte n and,
// when it is 0 or more, up to n + 1 bytes after it.
void decodeStandardInput(uint8_t buffer[CONFIG_FILE_BUFFER_SIZE], ConfigFileShape *shape)
{
    const QByteArray &content = standardInput(CONFIG_FILE_BUFFER_SIZE + 1);
    memset(buffer, 0, CONFIG_FILE_BUFFER_SIZE);
    shape->size = content.size();
    shape->count = content.isEmpty() ? 0 : uint8_t(content[0]);
    const int announced = content.isEmpty() ? -1 : int(int8_t(shape->count)) + 1;
    const qsizetype n = qMin(qsizetype(announced), content.size() - 1);
    if (n > 0)
        memcpy(buffer, content.constData() + 1, size_t(n));
}
} // namespace

int readConfigurationFile(const QString &path, FileUse use, bool acceptShort, Report &report,
                          uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    uint8_t buffer[CONFIG_FILE_BUFFER_SIZE];
    ConfigFileShape shape{};
    if (isStandardStream(path))
        decodeStandardInput(buffer, &shape);
    else if (!loadConfigFile(path, buffer, &shape))
        return fileFailure(report, path, unreadable(path));
    const QString odd = oddity(path, shape);
    if (!odd.isEmpty()) {
        if (use == FileUse::Write && !acceptShort)
            return report.fail(EXIT_FILE, odd + QString::fromUtf8(": não será gravado no leitor "
                                                                  "sem --accept-short"));
        warn(odd + QString::fromUtf8("; lido como a janela o lê (os bytes que faltam valem zero)"));
    }
    memcpy(config, buffer, CONFIG_SERIALIZED_SIZE);
    return 0;
}

int saveConfigurationFile(const QString &path, const uint8_t config[CONFIG_SERIALIZED_SIZE],
                          Report &report)
{
    ConfigRecord record;
    record.deserialize(config);
    if (isStandardStream(path)) {
        QByteArray bytes(1, char(CONFIG_FILE_COUNT));
        bytes.append(reinterpret_cast<const char *>(config), CONFIG_SERIALIZED_SIZE);
        return saveStandardOutput(bytes, report);
    }
    return saveConfigFile(path, record) ? 0 : reportUnsaved(path, report);
}

int saveStandardOutput(const QByteArray &bytes, Report &report)
{
    report.linesOnStderr = true; // standard output carries the configuration
    return writeStandardOutput(bytes)
               ? 0
               : fileFailure(report, QStringLiteral("-"),
                             QString::fromUtf8("a saída padrão não aceitou os dados"));
}

int reportUnsaved(const QString &path, Report &report)
{
    return fileFailure(report, path, unsaved(path));
}
