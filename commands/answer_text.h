#pragma once
#include <QString>
#include <cstdint>
#include <cstring>

// A text answer: the bytes after the command byte up to the first zero,
// read as Latin-1. The zero-filled answer buffer always holds that zero.
inline QString answerText(const uint8_t *answer)
{
    return QString::fromLatin1(reinterpret_cast<const char *>(answer + 1));
}
