#include "config/config_file_format.h"

#include "platform/regular_file.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

bool writeConfigFile(QFileDevice &file, const ConfigRecord &record)
{
    uint8_t image[CONFIG_FILE_SIZE];
    image[0] = CONFIG_FILE_COUNT;
    record.serialize(image + 1);
    return file.write(reinterpret_cast<const char *>(image), sizeof image) ==
           static_cast<qint64>(sizeof image);
}

namespace {
// Reads until the buffer holds `wanted` bytes or the file ends; -1 on an error.
qint64 readUpTo(QFileDevice &file, char *buffer, qint64 wanted)
{
    qint64 total = 0;
    while (total < wanted) {
        const qint64 got = file.read(buffer + total, wanted - total);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}
} // namespace

bool readConfigFile(QFileDevice &file, uint8_t buffer[CONFIG_FILE_BUFFER_SIZE])
{
    memset(buffer, 0, CONFIG_FILE_BUFFER_SIZE);
    char count = 0;
    const qint64 got = readUpTo(file, &count, 1);
    if (got < 0)
        return false;
    const auto n = static_cast<int8_t>(count);
    if (got == 0 || n < 0)
        return true;
    return readUpTo(file, reinterpret_cast<char *>(buffer), n + 1) >= 0;
}

namespace {
// Opens a regular file for reading, without waiting on anything else.
bool openRegular(const QString &path, QFile &file)
{
    const int descriptor = platform_open_regular_file(QFile::encodeName(path).constData());
    if (descriptor == REGULAR_FILE_NONE)
        return false;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        platform_close_file(descriptor);
        return false;
    }
    return true;
}

// commit() would not notice a write that fails while it flushes, so the
// flush comes first; an uncommitted file is thrown away.
template <typename Write> bool saveWhole(const QString &path, Write write)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    return file.open(QIODevice::WriteOnly) && write(file) && file.flush() && file.commit();
}
} // namespace

bool loadConfigFile(const QString &path, uint8_t buffer[CONFIG_FILE_BUFFER_SIZE],
                    ConfigFileShape *shape)
{
    QFile file;
    if (!openRegular(path, file))
        return false;
    if (shape) {
        char count = 0;
        shape->size = file.size();
        shape->count = file.peek(&count, 1) == 1 ? static_cast<uint8_t>(count) : 0;
    }
    return readConfigFile(file, buffer);
}

bool loadFileContent(const QString &path, qint64 maxSize, QByteArray *content)
{
    QFile file;
    if (!openRegular(path, file))
        return false;
    QByteArray read(maxSize, Qt::Uninitialized);
    const qint64 got = readUpTo(file, read.data(), maxSize);
    if (got < 0)
        return false;
    read.truncate(got);
    *content = read;
    return true;
}

bool saveConfigFile(const QString &path, const ConfigRecord &record)
{
    return saveWhole(path, [&](QSaveFile &file) { return writeConfigFile(file, record); });
}

bool saveFileContent(const QString &path, const QByteArray &content)
{
    return saveWhole(path, [&](QSaveFile &file) { return file.write(content) == content.size(); });
}
