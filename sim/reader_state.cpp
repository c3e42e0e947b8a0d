#include "sim/reader_state.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {
bool parseHex(const char *text, uint8_t *out, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        unsigned value;
        if (sscanf(text + 2 * i, "%2x", &value) != 1)
            return false;
        out[i] = static_cast<uint8_t>(value);
    }
    return true;
}

bool isSerialNumber(const char *text)
{
    if (strlen(text) != 6)
        return false;
    for (int i = 0; i < 6; ++i)
        if (!isdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}
} // namespace

bool reader_state_load(ReaderModel &reader, const char *path)
{
    FILE *file = fopen(path, "r");
    if (!file)
        return false;
    char configuration[2 * ReaderModel::CONFIG_SIZE + 1] = {};
    char serial[8] = {};
    const bool read = fscanf(file, "configuration=%54s serial=%7s", configuration, serial) == 2;
    fclose(file);
    uint8_t bytes[ReaderModel::CONFIG_SIZE];
    if (!read || strlen(configuration) != 2 * ReaderModel::CONFIG_SIZE ||
        !parseHex(configuration, bytes, sizeof bytes) || !isSerialNumber(serial))
        return false;
    memcpy(reader.configuration, bytes, sizeof bytes);
    memcpy(reader.serialNumber, serial, 7);
    return true;
}

bool reader_state_save(const ReaderModel &reader, const char *path)
{
    char temporary[4096];
    if (snprintf(temporary, sizeof temporary, "%s.new", path) >= static_cast<int>(sizeof temporary))
        return false;
    FILE *file = fopen(temporary, "w");
    if (!file)
        return false;
    fputs("configuration=", file);
    for (uint8_t byte : reader.configuration)
        fprintf(file, "%02X", byte);
    fprintf(file, "\nserial=%s\n", reader.serialNumber);
    const bool written = fflush(file) == 0 && ferror(file) == 0;
    if (fclose(file) != 0 || !written)
        return false;
    return rename(temporary, path) == 0;
}

std::string reader_state_file(const std::string &first, size_t i)
{
    if (i == 0)
        return first;
    const size_t slash = first.find_last_of('/');
    const size_t dot = first.find_last_of('.');
    const size_t cut = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                           ? dot
                           : first.size();
    return first.substr(0, cut) + "-" + std::to_string(i + 1) + first.substr(cut);
}
