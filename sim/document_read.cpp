#include "sim/document_read.h"

#include <cstring>

namespace {
constexpr size_t SETTINGS = 8; // the settings follow the 8-byte profile name
constexpr uint8_t STX = 0x02;

uint8_t setting(const uint8_t *configuration, size_t byte)
{
    return configuration[SETTINGS + byte];
}

struct Writer
{
    uint8_t *out;
    size_t length = 0;

    void put(uint8_t byte)
    {
        if (length < DOCUMENT_MAX_SIZE)
            out[length++] = byte;
    }
    void putIfSet(uint8_t byte)
    {
        if (byte != 0)
            put(byte);
    }
};
} // namespace

size_t document_read(const uint8_t *configuration, uint8_t out[DOCUMENT_MAX_SIZE])
{
    Writer writer{out};
    const uint8_t header = setting(configuration, 13);
    writer.putIfSet(header);
    writer.putIfSet(setting(configuration, 14));
    const bool separate = setting(configuration, 2) & 0x01;
    bool first = true;
    for (const char *field : SAMPLE_CMC7_FIELDS) {
        if (!first && separate)
            writer.put(setting(configuration, 12));
        first = false;
        for (const char *c = field; *c; ++c)
            writer.put(static_cast<uint8_t>(*c));
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
