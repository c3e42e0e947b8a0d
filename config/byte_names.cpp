#include "config/byte_names.h"

#include <QByteArray>

namespace {
constexpr uint8_t FIRST_PRINTABLE = 0x20;
constexpr uint8_t LAST_PRINTABLE = 0x7E;
constexpr uint8_t SPACE = 0x20;

const char *serialName(uint8_t byte)
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

// The keys a reader types for the characters the form offers, by the form's names.
const char *keyName(uint8_t byte)
{
    switch (byte) {
    case 0x00:
        return "NULL";
    case 0x09:
        return "TAB";
    case 0x0D:
        return "ENTER";
    case 0x1B:
        return "ESC";
    case 0x7F:
        return "BCKSPC";
    default:
        return nullptr;
    }
}

const char *nameOf(uint8_t byte, ByteNaming naming)
{
    return naming == ByteNaming::Keyboard ? keyName(byte) : serialName(byte);
}

bool printable(uint8_t byte)
{
    return byte >= FIRST_PRINTABLE && byte <= LAST_PRINTABLE;
}

QString hexOf(uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

QString byteName(uint8_t byte, ByteNaming naming)
{
    if (byte == SPACE)
        return QStringLiteral("SPACE");
    if (printable(byte))
        return QString(QLatin1Char(char(byte)));
    if (const char *name = nameOf(byte, naming))
        return QLatin1String(name);
    return hexOf(byte);
}

QString byteText(const uint8_t *bytes, size_t n, ByteNaming naming)
{
    QString text;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t byte = bytes[i];
        if (printable(byte))
            text += QLatin1Char(char(byte));
        else if (const char *name = nameOf(byte, naming))
            text += QStringLiteral("<%1>").arg(QLatin1String(name));
        else
            text += QStringLiteral("<%1>").arg(hexOf(byte));
    }
    return text;
}

QString byteHex(const uint8_t *bytes, size_t n)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(n)).toHex(' ').toUpper());
}
