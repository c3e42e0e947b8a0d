#pragma once
// "-" in place of a file: standard input where a configuration is read,
// standard output where one is written.
#include <QByteArray>
#include <QString>

bool isStandardStream(const QString &path);

// Standard input, read to its end on the first call (at most maxSize
// bytes); every later call gets the same bytes.
const QByteArray &standardInput(qint64 maxSize);

// Writes the bytes to standard output as they are; false when that failed.
bool writeStandardOutput(const QByteArray &bytes);
