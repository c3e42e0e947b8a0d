#pragma once
// The USB CDC serial ports (ttyACM) of the machine with their USB ids, as
// sysfs tells them: /sys, or the folder the environment variable
// VELORIX_SYSFS_ROOT names (tests build a small tree there).
#include <cstddef>

constexpr size_t USB_SERIAL_NAME_SIZE = 32;
constexpr size_t USB_SERIAL_PORT_PATH_SIZE = 64;

struct UsbSerialPort
{
    char name[USB_SERIAL_NAME_SIZE];          // "ttyACM0": the device's name in /dev
    char portPath[USB_SERIAL_PORT_PATH_SIZE]; // the USB port path ("1-1.2")
    unsigned short vendorId;
    unsigned short productId;
};

// Lists the ttyACM ports whose USB device has this vendor id, at most
// capacity of them into ports, in the order of their numbers. Returns how
// many there are (which may exceed capacity); 0 when sysfs has none.
int usb_serial_list(unsigned short vendorId, UsbSerialPort *ports, int capacity);
