#include "cli/byte_names.h"

#include <QByteArray>

namespace {
constexpr uint8_t FIRST_PRINTABLE = 0x20;
constexpr uint8_t LAST_PRINTABLE = 0x7E;

const char *nameOf(uint8_t byte)
{
    switch (byte) {
    case 0x02:
        return "STX";
    case 0x03:
        return "ETX";
    case 0x09:
        return "TAB";
    case 0x0A:
        return "LF";
    case 0x0D:
        return "CR";
    default:
        return nullptr;
    }
}
} // namespace

QString byteText(const uint8_t *bytes, size_t n)
{
    QString text;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t byte = bytes[i];
        if (byte >= FIRST_PRINTABLE && byte <= LAST_PRINTABLE)
            text += QLatin1Char(char(byte));
        else if (const char *name = nameOf(byte))
            text += QStringLiteral("<%1>").arg(QLatin1String(name));
        else
            text += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

QString byteHex(const uint8_t *bytes, size_t n)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(n)).toHex(' ').toUpper());
}
