#include "config/character_lists.h"

QString characterListItem(int position)
{
    switch (position) {
    case 0:
        return QStringLiteral("NULL");
    case 1:
        return QStringLiteral("TAB");
    case 2:
        return QStringLiteral("ENTER");
    case 3:
        return QStringLiteral("SPACE");
    case CHARACTER_LIST_SIZE - 1:
        return QStringLiteral("BCKSPC");
    default:
        return QString(QChar(listIndexToChar(position)));
    }
}

QString hexListItem(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

uint8_t listIndexToChar(int position)
{
    switch (position) {
    case 0:
        return 0x00;
    case 1:
        return 0x09;
    case 2:
        return 0x0D;
    default:
        return static_cast<uint8_t>(position + 0x1D);
    }
}

int charToListIndex(uint8_t code)
{
    switch (code) {
    case 0x00:
        return 0;
    case 0x09:
        return 1;
    case 0x0D:
        return 2;
    default:
        return static_cast<int>(code) - 0x1D;
    }
}
