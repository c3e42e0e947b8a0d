#pragma once
// A device folder of the test's own: COM numbers lead, through links, to
// pseudo-terminals, and the serial layer looks here instead of /dev for the
// life of the object. The serial layer's system calls are recorded meanwhile,
// and the kernel's answer to TIOCGSERIAL is given for the folder's legacy
// ports (ttyS), which a pseudo-terminal could not give.
#include <QStringList>
#include <QTemporaryDir>
#include <linux/serial.h>
#include <map>
#include <sys/types.h>
#include <vector>

class PortFolder
{
public:
    PortFolder();
    ~PortFolder();
    PortFolder(const PortFolder &) = delete;
    PortFolder &operator=(const PortFolder &) = delete;

    // Makes COM n a bare pseudo-terminal and returns its master side, which
    // the folder closes. A legacy port reports this UART type (PORT_UNKNOWN:
    // a name with no UART behind it).
    int addPort(int comNumber, int uartType = PORT_16550A);
    // Makes COM n lead to this device, or takes it away (unplugged).
    void link(int comNumber, const char *devicePath);
    void remove(int comNumber);

    // The calls since the folder was made or this was cleared: "open",
    // "flock", "close", or the ioctl's request ("TIOCGEXCL", "TCFLSH input").
    QStringList calls;
    std::map<dev_t, int> uartTypes; // by device number

private:
    QTemporaryDir folder;
    std::vector<int> masters;
};
