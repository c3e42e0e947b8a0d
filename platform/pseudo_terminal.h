#pragma once
// Pseudo-terminals, on which a simulated reader stands in for a serial port.
#include <cstddef>

// Opens a new pseudo-terminal: returns its master side (non-blocking) and
// writes the path of its slave device into slavePath; -1 on failure.
int pty_open_master(char *slavePath, size_t size);

// Opens the slave side too (non-blocking, never the controlling terminal).
int pty_open_slave(const char *slavePath);

// Waits up to timeoutMs for bytes from the slave side. True when some arrived.
bool pty_wait_readable(int master, int timeoutMs);

void pty_close(int descriptor);
