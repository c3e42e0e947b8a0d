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

// A bank slip: its barcode, then the "1º separador"; with "Enviar valor" the
// amount and the "2º separador" after it.
constexpr const char *SAMPLE_BANK_SLIP_BARCODE = "00193373700000001000500940144816060680935031";
constexpr const char *SAMPLE_BANK_SLIP_AMOUNT = "0000010000";

enum SimDocument
{
    SIM_CHEQUE,
    SIM_BANK_SLIP,
};

// How the reader hands the document over. On the serial interface the
// protocol frames it (header, trailer, BCC); as a keyboard the reader types
// it, then the character before CR and a CR when "Enviar CR após os dados"
// is on, and never types a NULL character.
enum SimInterface
{
    SIM_SERIAL,
    SIM_KEYBOARD,
};

size_t document_send(const uint8_t *configuration, SimDocument document, SimInterface interface,
                     uint8_t out[DOCUMENT_MAX_SIZE]);

// The line settings the configuration gives the reader's serial interface.
struct DocumentLine
{
    int32_t baudRate; // 0 for a speed code no rate stands for
    int dataBits;
    char parity; // 'n', 'o', 'e'; '?' for the unused code 3
    int stopBits;
};
DocumentLine document_line(const uint8_t *configuration);
