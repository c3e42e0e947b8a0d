#pragma once
// A device folder used instead of /dev while the object lives: COM numbers link to
// pseudo-terminals; the serial layer's system calls are recorded, and TIOCGSERIAL is
// answered for legacy ports (ttyS), which a pseudo-terminal could not do.
#include <QStringList>
#include <QTemporaryDir>
#include <linux/serial.h>
#include <map>
#include <vector>

class PortFolder
{
public:
    PortFolder();
    ~PortFolder();
    PortFolder(const PortFolder &) = delete;
    PortFolder &operator=(const PortFolder &) = delete;

    // Makes COM n a pseudo-terminal; its master side, closed by the folder.
    int addPort(int comNumber, int uartType = PORT_16550A);
    void link(int comNumber, const char *devicePath);
    void remove(int comNumber);

    // "open", "flock", "close", or the ioctl's request ("TIOCGEXCL", "TCFLSH input").
    QStringList calls;
    std::map<dev_t, int> uartTypes; // by device number

private:
    QTemporaryDir folder;
    std::vector<int> masters;
};
