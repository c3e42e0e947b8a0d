#pragma once
// The configuration file: a count byte (the number of bytes that follow,
// minus one) and the 27-byte serialized record, raw, nothing else.
#include "config/config_record.h"

#include <QByteArray>

class QFileDevice;
class QString;

constexpr uint8_t CONFIG_FILE_COUNT = CONFIG_SERIALIZED_SIZE - 1;
constexpr size_t CONFIG_FILE_SIZE = 1 + CONFIG_SERIALIZED_SIZE;
// Room for the most a count byte can announce (0x7F + 1 bytes).
constexpr size_t CONFIG_FILE_BUFFER_SIZE = 256;

// Writes the count byte and the record; false when any write fails.
bool writeConfigFile(QFileDevice &file, const ConfigRecord &record);

// Zeroes the buffer, reads the count byte as a signed number n and, when n is
// 0 or more, up to n + 1 further bytes into positions 0 to n. Bytes missing at
// the end of the file stay zero; a negative count reads nothing more. False
// only when the device reports a read error: a file that cannot be read must
// not pass for a short one.
bool readConfigFile(QFileDevice &file, uint8_t buffer[CONFIG_FILE_BUFFER_SIZE]);

// What a file held besides the record, for telling a file the window saved
// from one it merely reads.
struct ConfigFileShape
{
    int64_t size;  // bytes in the file
    uint8_t count; // its first byte (0 for an empty file)
};

// Opens the file at path and reads it as readConfigFile does. False when it
// cannot be opened or read, and at once for anything but a regular file.
// shape, when given, receives the file's size and first byte.
bool loadConfigFile(const QString &path, uint8_t buffer[CONFIG_FILE_BUFFER_SIZE],
                    ConfigFileShape *shape = nullptr);

// Writes the record to path. The old file stays whole until the new one is
// completely written (a temporary file beside it takes its place); only
// where the folder refuses new files but the file itself may be written is
// it written in place. False when the file was not saved.
bool saveConfigFile(const QString &path, const ConfigRecord &record);

// The first maxSize bytes of a regular file (less when it is shorter), read
// as loadConfigFile reads; false when it cannot be opened or read.
bool loadFileContent(const QString &path, qint64 maxSize, QByteArray *content);

// Writes content to path the way saveConfigFile writes a record.
bool saveFileContent(const QString &path, const QByteArray &content);
