#include "sim/document_read.h"

#include <cstring>

namespace {
constexpr size_t SETTINGS = 8; // the settings follow the 8-byte profile name
constexpr uint8_t STX = 0x02;
constexpr uint8_t CR = 0x0D;

uint8_t setting(const uint8_t *configuration, size_t byte)
{
    return configuration[SETTINGS + byte];
}

struct Writer
{
    uint8_t *out;
    bool keyboard;
    size_t length = 0;

    void put(uint8_t byte)
    {
        // No key types a NULL.
        if (keyboard && byte == 0)
            return;
        if (length < DOCUMENT_MAX_SIZE)
            out[length++] = byte;
    }
    void putIfSet(uint8_t byte)
    {
        if (byte != 0)
            put(byte);
    }
    void putText(const char *text)
    {
        for (const char *c = text; *c; ++c)
            put(static_cast<uint8_t>(*c));
    }
};

void putCheque(const uint8_t *configuration, Writer &writer)
{
    const bool separate = setting(configuration, 2) & 0x01;
    bool first = true;
    for (const char *field : SAMPLE_CMC7_FIELDS) {
        if (!first && separate)
            writer.put(setting(configuration, 12));
        first = false;
        writer.putText(field);
    }
}

void putBankSlip(const uint8_t *configuration, Writer &writer)
{
    writer.putText(SAMPLE_BANK_SLIP_BARCODE);
    writer.put(setting(configuration, 7));
    if (setting(configuration, 1) & 0x01) {
        writer.putText(SAMPLE_BANK_SLIP_AMOUNT);
        writer.put(setting(configuration, 8));
    }
}
} // namespace

size_t document_read(const uint8_t *configuration, uint8_t out[DOCUMENT_MAX_SIZE])
{
    return document_send(configuration, SIM_CHEQUE, SIM_SERIAL, out);
}

size_t document_send(const uint8_t *configuration, SimDocument document, SimInterface interface,
                     uint8_t out[DOCUMENT_MAX_SIZE])
{
    Writer writer{out, interface == SIM_KEYBOARD};
    const uint8_t header = setting(configuration, 13);
    if (!writer.keyboard) {
        writer.putIfSet(header);
        writer.putIfSet(setting(configuration, 14));
    }
    if (document == SIM_CHEQUE)
        putCheque(configuration, writer);
    else
        putBankSlip(configuration, writer);
    if (writer.keyboard) {
        if (setting(configuration, 1) & 0x20) {
            writer.putIfSet(setting(configuration, 11));
            writer.put(CR);
        }
        return writer.length;
    }
    writer.putIfSet(setting(configuration, 15));
    writer.putIfSet(setting(configuration, 16));
    // The block check covers everything after the STX, the ETX included.
    if ((setting(configuration, 18) & 0x02) && header == STX) {
        uint8_t bcc = setting(configuration, 17);
        for (size_t i = 1; i < writer.length; ++i)
            bcc ^= out[i];
        writer.put(bcc);
    }
    return writer.length;
}

DocumentLine document_line(const uint8_t *configuration)
{
    static const int32_t rates[] = {0, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    const uint8_t line = setting(configuration, 0);
    const unsigned code = line & 0x0F;
    const unsigned parity = (line >> 4) & 0x03;
    return {code < sizeof rates / sizeof rates[0] ? rates[code] : 0, (line & 0x40) ? 7 : 8,
            "noe?"[parity], (line & 0x80) ? 2 : 1};
}
