#pragma once
// Line rates through Linux's termios2 calls, which take any rate, not only
// the standard ones. Kept apart because the kernel's terminal header clashes
// with <termios.h>.
#include <cstdint>

// Sets the line to this rate, keeping the other settings. 0, or -1 when refused.
int line_rate_set(int device, int32_t baudRate);

// The output rate the line is set to, or -1 when it cannot be read.
int32_t line_rate_get(int device);
