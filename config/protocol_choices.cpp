#include "config/protocol_choices.h"

#include <cstring>

namespace {
const uint8_t protocolRows[4][4] = {
    {0x02, 0x00, 0x03, 0x00},
    {0x00, 0x00, 0x0D, 0x0A},
    {0x00, 0x00, 0x0D, 0x00},
    {0x00, 0x00, 0x00, 0x00},
};
} // namespace

void storeProtocol(ConfigRecord &record, int choice)
{
    uint8_t *bytes = record.settings + headerByte1;
    if (choice >= PROTOCOL_STX_D_ETX && choice <= PROTOCOL_NONE)
        memcpy(bytes, protocolRows[choice], sizeof protocolRows[choice]);
    else
        memset(bytes, 0, sizeof protocolRows[0]);
}

ProtocolChoice protocolOf(const ConfigRecord &record)
{
    if (record.settings[headerByte1] == 0x02)
        return PROTOCOL_STX_D_ETX;
    if (record.settings[trailerByte2] == 0x0A)
        return PROTOCOL_D_CR_LF;
    if (record.settings[trailerByte1] == 0x0D)
        return PROTOCOL_D_CR;
    return PROTOCOL_NONE;
}
