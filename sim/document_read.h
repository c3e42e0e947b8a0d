#pragma once
// What the simulated reader sends on its serial interface when a cheque
// passes through it: the three fields of the cheque's CMC-7 line, joined by
// the CMC-7 separator when the configuration sends one, between the header
// and trailer bytes of its protocol, followed by a block check character
// when the configuration sends one (only after an STX header). Enough for a
// technician to see separators and protocol come out as configured.
#include <cstddef>
#include <cstdint>

// The cheque's CMC-7 line, field by field.
constexpr const char *SAMPLE_CMC7_FIELDS[] = {"00100011", "0180000145", "800000000013"};

// Room for the longest document: header, fields, separators, trailer, BCC.
constexpr size_t DOCUMENT_MAX_SIZE = 64;

// The document's bytes for this 27-byte serialized configuration; returns how many.
size_t document_read(const uint8_t *configuration, uint8_t out[DOCUMENT_MAX_SIZE]);

// The line settings the configuration gives the reader's serial interface.
struct DocumentLine
{
    int32_t baudRate; // 0 for a speed code no rate stands for
    int dataBits;
    char parity; // 'n', 'o', 'e'; '?' for the unused code 3
    int stopBits;
};
DocumentLine document_line(const uint8_t *configuration);
