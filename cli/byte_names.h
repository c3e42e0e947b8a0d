#pragma once
// How watch shows the bytes a reader sends: printable characters as they
// are, the framing and line characters by name (<STX>, <ETX>, <TAB>, <CR>,
// <LF>), any other byte as two hex digits (<1B>).
#include <QString>
#include <cstddef>
#include <cstdint>

QString byteText(const uint8_t *bytes, size_t n);

// "02 31 03": the same bytes in hex, for JSON.
QString byteHex(const uint8_t *bytes, size_t n);
