#pragma once
// The serial port that --port names: COMn through the COM table, a device
// of the table by its path, or any other tty device named explicitly (the
// simulator's /dev/pts/N, say).
#include <QByteArray>
#include <QString>

struct PortName
{
    int comNumber = 0;     // 0: the explicit device below
    QByteArray devicePath; // the device, for messages and for an explicit one
    QString shown;         // "COM65 (/dev/ttyACM0)" or "/dev/pts/3"
};

// Fills port when text names a port that exists and may be opened; returns
// 0, or the exit code with *error saying what is wrong. The port itself is
// not opened (that raises a real port's modem lines).
int resolvePort(const QString &text, PortName *port, QString *error);

// Opens the named port as the link opens it (exclusively): a descriptor, or -1.
int openPort(const PortName &port);

// What is said of a port that exists but would not open: another program has it.
QString portBusyText(const PortName &port);
