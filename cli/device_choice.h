#pragma once
// The readers attached to this machine, and the one a command takes: every
// HID interface the access library lists and every CDC port (ttyACM) with
// the reader's USB ids, one entry per USB device (a reader in CDC mode shows
// both on the same USB port).
#include "commands/link_session.h"
#include "commands/reader.h"

#include <QJsonObject>
#include <QList>
#include <QString>

struct AttachedReader
{
    QString portPath;   // the USB port path; empty when unknown
    HidUsbDevice hid{}; // its HID interface (empty path: none listed)
    QByteArray tty;     // its CDC port's device (empty: none)
    int comNumber = 0;  // that port's COM number (0: outside the COM table)

    // The link commands take: HID, unless the reader is in CDC mode and its
    // port is known.
    Reader reader() const;
    bool cdcMode() const;
    // What names it for --device: the path of the link it is reached by.
    QString path() const;
};

// What a reader answered when asked who it is; empty texts when it did not.
struct ReaderIdentity
{
    QString serial;
    QString firmware;
};

QList<AttachedReader> attachedReaders(const HidLibrary &library);

// Asks the reader its serial number and firmware version, without progress texts.
ReaderIdentity askIdentity(LinkSession &session, const AttachedReader &attached);

// {"link", "path", "usb_port", "mode", "serial", "firmware"} (and "hid_path",
// "tty" when the reader has both).
QJsonObject readerJson(const AttachedReader &attached, const ReaderIdentity &identity);
// "hid  /dev/hidraw3  USB 1-1.2  Teclado  000123  1.05"
QString readerLine(const AttachedReader &attached, const ReaderIdentity &identity);

// The reader that --device names: a listed HID path, a USB port path or a
// serial number (the readers are asked for it). False when none matches.
bool findDevice(LinkSession &session, const QList<AttachedReader> &readers, const QString &device,
                AttachedReader *found);

// True when the text names a serial port: COMn (namesComPort), or a path no
// listed HID interface has.
bool namesComPort(const QString &device);
bool namesSerialPort(const QList<AttachedReader> &readers, const QString &device);

class Report;
// Loads the HID access library: 0, or the exit code of a missing or
// incomplete one (reported with the window's message).
int loadReaderLibrary(LinkSession &session, Report &report);

// Several readers and no --device: fails with EXIT_USAGE and lists them
// (asked who they are), so that the user can name one.
int refuseSeveral(LinkSession &session, const QList<AttachedReader> &readers, Report &report);
