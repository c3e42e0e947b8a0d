#include "cli/standard_streams.h"

#include <QFile>
#include <cstdio>

bool isStandardStream(const QString &path)
{
    return path == QLatin1String("-");
}

const QByteArray &standardInput(qint64 maxSize)
{
    static bool read = false;
    static QByteArray content;
    if (!read) {
        read = true;
        QFile in;
        if (in.open(stdin, QIODevice::ReadOnly))
            content = in.read(maxSize);
    }
    return content;
}

bool writeStandardOutput(const QByteArray &bytes)
{
    const size_t n = size_t(bytes.size());
    return fwrite(bytes.constData(), 1, n, stdout) == n && fflush(stdout) == 0;
}
