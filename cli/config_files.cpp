#include "cli/config_files.h"

#include "cli/exit_codes.h"
#include "cli/report.h"
#include "commands/message_catalogue.h"
#include "config/config_file_format.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

namespace {
int fileFailure(Report &report, const QString &path, const QString &why)
{
    return report.failWithMessage(EXIT_FILE, MESSAGE_FILE_NOT_OPENED,
                                  QStringLiteral("%1 (%2)").arg(path, why));
}

// Why a file could not be read or saved, in the operator's words.
QString reason(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return QString::fromUtf8("sem permissão");
    case QFileDevice::ReadError:
        return QString::fromUtf8("erro de leitura");
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QString::fromUtf8("erro de escrita; o disco está cheio?");
    case QFileDevice::OpenError:
        return QString::fromUtf8("não pôde ser aberto ou criado; a pasta existe?");
    default:
        return file.errorString();
    }
}

// What is odd about a file that the window did not write as it is; empty
// when nothing is.
QString oddity(const QString &path, qint64 size, uint8_t count)
{
    if (size != qint64(CONFIG_FILE_SIZE))
        return QString::fromUtf8("%1 tem %2 bytes; um arquivo de configuração tem %3")
            .arg(path)
            .arg(size)
            .arg(CONFIG_FILE_SIZE);
    if (count != CONFIG_FILE_COUNT)
        return QString::fromUtf8("%1 começa com o byte 0x%2, não 0x%3")
            .arg(path)
            .arg(count, 2, 16, QLatin1Char('0'))
            .arg(CONFIG_FILE_COUNT, 2, 16, QLatin1Char('0'));
    return {};
}
} // namespace

int readConfigurationFile(const QString &path, FileUse use, bool acceptShort, Report &report,
                          uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    const QFileInfo info(path);
    if (!info.exists())
        return fileFailure(report, path, QString::fromUtf8("o arquivo não existe"));
    // Opening a FIFO or a device could block for good, or disturb a port.
    if (!info.isFile())
        return fileFailure(report, path, QString::fromUtf8("não é um arquivo comum"));
    QFile file(path);
    uint8_t buffer[CONFIG_FILE_BUFFER_SIZE];
    if (!file.open(QIODevice::ReadOnly))
        return fileFailure(report, path, reason(file));
    const qint64 size = file.size();
    char count = 0;
    if (size > 0 && file.peek(&count, 1) != 1)
        return fileFailure(report, path, reason(file));
    if (!readConfigFile(file, buffer))
        return fileFailure(report, path, reason(file));
    const QString odd = oddity(path, size, static_cast<uint8_t>(count));
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
    // commit() would not notice a write that fails while it flushes, so the
    // flush comes first; an uncommitted file is thrown away.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writeConfigFile(file, record) || !file.flush() ||
        !file.commit())
        return fileFailure(report, path, reason(file));
    return 0;
}
