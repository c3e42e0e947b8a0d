#pragma once
// Opening a file that the operator named, for reading.

// The descriptor of no file.
constexpr int REGULAR_FILE_NONE = -1;

// Opens path read-only if it is a regular file. Anything else (a FIFO, a
// device, a socket) is refused without being opened or waited for: opening a
// FIFO with no writer, or reading one whose writer is silent, would block for
// good. Returns a descriptor the caller closes, or REGULAR_FILE_NONE.
int platform_open_regular_file(const char *path);

void platform_close_file(int descriptor);
