#pragma once
// How the bytes a reader sends are shown, by velorix-cli watch and by the
// window's read test alike: printable characters as they are, the framing
// and line characters by name, any other byte as two hex digits (<1B>).
// Over the serial interface a byte is a byte (<STX>, <ETX>, <TAB>, <CR>,
// <LF>); as a keyboard the reader types keys, named as the form's character
// lists name them (<TAB>, <ENTER>, <BCKSPC>).
#include <QString>
#include <cstddef>
#include <cstdint>

enum class ByteNaming
{
    Serial,
    Keyboard,
};

// "STX", "ENTER", "SPACE", "A", "1B": one byte's name, for a mark such as
// "esperado TAB, recebido ENTER".
QString byteName(uint8_t byte, ByteNaming naming = ByteNaming::Serial);

QString byteText(const uint8_t *bytes, size_t n, ByteNaming naming = ByteNaming::Serial);

// "02 31 03": the same bytes in hex, for JSON.
QString byteHex(const uint8_t *bytes, size_t n);
