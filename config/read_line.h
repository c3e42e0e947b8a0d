#pragma once
// The serial line a record sets the reader's serial interface to, which is
// what a port must be set to for the reader's reads to arrive intact.
#include "config/config_record.h"

#include <QString>
#include <cstdint>

struct ReadLine
{
    int32_t baudRate = 0; // 0: the speed code names no rate
    char parity = 0;      // 'n', 'o', 'e'; 0 for the unused code 3
    int dataBits = 0;
    int stopBits = 0;
};

ReadLine readLineOf(const ConfigRecord &record);

// "Baudrate 9600, 8 Bits, Paridade Nenhum, 1 Stop Bit", in the form's words;
// the line must have a rate and a parity.
QString describeReadLine(const ReadLine &line);
