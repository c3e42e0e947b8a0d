#pragma once
// A device folder of the test's own: COM numbers lead, through links, to
// pseudo-terminals, and the serial layer looks here instead of /dev for the
// life of the object.
#include <QTemporaryDir>
#include <vector>

class PortFolder
{
public:
    PortFolder();
    ~PortFolder();
    PortFolder(const PortFolder &) = delete;
    PortFolder &operator=(const PortFolder &) = delete;

    // Makes COM n a bare pseudo-terminal with nothing behind it; returns its
    // master side, which the folder closes.
    int addPort(int comNumber);

    // Makes COM n lead to this device.
    void link(int comNumber, const char *devicePath);

    // Takes COM n away, as when a reader is unplugged.
    void remove(int comNumber);

private:
    QTemporaryDir folder;
    std::vector<int> masters;
};
