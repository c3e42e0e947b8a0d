#pragma once
// The framing the reader puts around its data on the serial interface:
// header bytes 13-14 and trailer bytes 15-16, written together as one of
// four choices of the protocol list.
#include "config/config_record.h"

enum ProtocolChoice
{
    PROTOCOL_STX_D_ETX = 0,
    PROTOCOL_D_CR_LF = 1,
    PROTOCOL_D_CR = 2,
    PROTOCOL_NONE = 3,
};

// Writes bytes 13 to 16 as the choice's row; any other index writes zeros.
void storeProtocol(ConfigRecord &record, int choice);

// The choice that bytes 13 to 16 stand for: header 0x02 first, then a
// trailing 0x0A, then a trailing 0x0D, else none. Byte 14 is never looked at.
ProtocolChoice protocolOf(const ConfigRecord &record);
