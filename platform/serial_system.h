#pragma once
// The operating-system calls of the serial layer, gathered in one table so
// that a test can watch them, or answer for the kernel (the UART type of a
// legacy port, say), on pseudo-terminals and without hardware.
struct SerialSystem
{
    int (*open)(const char *path, int flags);
    int (*ioctl)(int device, unsigned long request, void *argument);
    int (*flock)(int device, int operation);
    int (*close)(int device);
};

// The calls in force: the real ones unless a test replaced them.
const SerialSystem &serial_system();

// Tests only: makes these calls the ones in force (the table must outlive its
// use); null restores the real ones.
void serial_system_replace(const SerialSystem *calls);
