#pragma once
// Serial ports named by COM number, on POSIX terminals. A port is held by one
// opener at a time, never blocks, and is driven in raw mode without any flow
// control, the way the reader's link expects. A port that another program
// holds (marked exclusive with TIOCEXCL, or locked with flock) is left alone,
// root or not, and so is its unread input.
//
// COM numbers map to devices of the device folder (/dev):
//   COM1 to COM32   /dev/ttyS0 to /dev/ttyS31
//   COM33 to COM64  /dev/ttyUSB0 to /dev/ttyUSB31
//   COM65 to COM96  /dev/ttyACM0 to /dev/ttyACM31
// Any other number names no device.
#include <cstddef>
#include <cstdint>

constexpr int SERIAL_NO_DEVICE = -1;

// Writes the device path of COM n into buffer; false when n names no device.
bool serial_device_path(int comNumber, char *buffer, size_t size);

// True for the machine's own serial ports (ttyS): their names exist whether
// or not a UART is behind them, so one counts only when the kernel reports
// a UART type for it.
bool serial_device_is_legacy_port(int comNumber);

// Opens COM n for an exchange, never blocking: refuses a port that is held or
// has no UART, lowers DTR and RTS, marks the port exclusive and drops input
// queued before the open. Returns a descriptor or SERIAL_NO_DEVICE.
int serial_device_open(int comNumber);

// True when COM n could be opened for an exchange right now. Leaves the port
// as it found it: no settings, modem lines, mark or queued bytes are touched
// (opening still raises DTR on a real port; nothing can avoid that).
bool serial_device_probe(int comNumber);

// 0 on success, -1 when the driver refuses the settings.
int serial_device_configure(int device, int baudRate, int dataBits, char parity, int stopBits);

// Bytes read (0 when none are waiting), -1 on error. Never waits.
int serial_device_read(int device, uint8_t *buffer, size_t size);

// Bytes written, -1 on error or when the bound expires.
int serial_device_write(int device, const uint8_t *bytes, size_t n);

// Drops unsent output, so that close() cannot wait for a device that stopped
// reading, clears the exclusive mark and closes.
void serial_device_close(int device);

// Ports named by their device path instead of a COM number, for a device
// outside the COM table (a pseudo-terminal, say) that a technician names.

// The COM number whose device is path, or 0 when no COM number names it.
int serial_device_com_of_path(const char *path);

enum SerialPathCheck
{
    SERIAL_PATH_DEVICE = 0,      // a character device this process may read and write
    SERIAL_PATH_MISSING = -1,    // nothing of that name
    SERIAL_PATH_NOT_DEVICE = -2, // a file, a folder, a FIFO...
    SERIAL_PATH_NO_ACCESS = -3,  // a device this process may not open for reading and writing
};

// What path names, found without opening it (opening a port raises its modem lines).
int serial_device_check_path(const char *path);

// Opens the device at path as serial_device_open opens COM n.
int serial_device_open_path(const char *path);

// Waits up to timeoutMs for something to read: bytes, or the end of the line
// (a hang-up, after which a read gives nothing or fails). False on time-out
// and when a signal interrupts the wait.
bool serial_device_wait_readable(int device, int timeoutMs);

// Tests only: the folder that holds the devices (null restores /dev).
void serial_device_use_folder(const char *folder);

// The line settings a terminal is set to. On the master side of a
// pseudo-terminal they are those of its slave.
struct SerialLineSettings
{
    int32_t baudRate;      // output
    int32_t inputBaudRate; // the same, unless something split them
    int dataBits;
    char parity; // 'n', 'o' or 'e'
    int stopBits;
};

// Reads the line settings back from the driver; false when it cannot.
bool serial_device_line_settings(int device, SerialLineSettings *settings);
