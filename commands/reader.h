#pragma once
// The reader a command talks to, as a value: the link it takes and where
// that link finds it. A reader attached in CDC mode is reachable both ways:
// its serial port for the commands, its HID interface for the firmware
// update.
#include "hid_usb/hid_usb.h"

#include <QByteArray>

// The link a command takes: the reader as a USB keyboard (HID reports) or as
// a USB CDC serial port.
enum class ReaderLink
{
    Hid,
    Serial,
};

struct Reader
{
    ReaderLink link = ReaderLink::Hid;
    // The HID interface as the library lists it; an empty path stands for the
    // first reader Init_HID finds.
    HidUsbDevice hid = {};
    // The serial port: COM comNumber, or the device at ttyPath when given.
    int comNumber = 0;
    QByteArray ttyPath;

    bool hidListed() const { return hid.path[0] != 0; }

    // The first reader over HID, as the window has always found it.
    static Reader firstHid() { return {}; }
    static Reader hidAt(const HidUsbDevice &device)
    {
        Reader reader;
        reader.hid = device;
        return reader;
    }
    static Reader comPort(int number, const QByteArray &devicePath = {})
    {
        Reader reader;
        reader.link = ReaderLink::Serial;
        reader.comNumber = number;
        reader.ttyPath = devicePath;
        return reader;
    }
};
