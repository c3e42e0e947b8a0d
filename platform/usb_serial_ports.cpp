#include "platform/usb_serial_ports.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

namespace {
constexpr char TTY_FAMILY[] = "ttyACM";

std::string sysfsRoot()
{
    const char *root = getenv("VELORIX_SYSFS_ROOT");
    return root != nullptr && *root != '\0' ? root : "/sys";
}

// A four-digit hex id file of the USB device (idVendor, idProduct); 0 when unreadable.
unsigned short readId(const std::string &file)
{
    FILE *in = fopen(file.c_str(), "re");
    if (!in)
        return 0;
    unsigned value = 0;
    const bool read = fscanf(in, "%4x", &value) == 1;
    fclose(in);
    return read ? static_cast<unsigned short>(value) : 0;
}

int ttyNumber(const char *name)
{
    return atoi(name + strlen(TTY_FAMILY));
}

// The port's USB interface is its device; the USB device above it carries
// the ids, and its folder's name is the port path.
bool describe(const std::string &root, const char *name, UsbSerialPort *port)
{
    const std::string link = root + "/class/tty/" + name + "/device";
    char *interfacePath = realpath(link.c_str(), nullptr);
    if (!interfacePath)
        return false;
    std::string device = interfacePath;
    free(interfacePath);
    device = device.substr(0, device.find_last_of('/'));
    const std::string portPath = device.substr(device.find_last_of('/') + 1);
    if (strlen(name) >= sizeof port->name || portPath.size() >= sizeof port->portPath)
        return false;
    snprintf(port->name, sizeof port->name, "%s", name);
    snprintf(port->portPath, sizeof port->portPath, "%s", portPath.c_str());
    port->vendorId = readId(device + "/idVendor");
    port->productId = readId(device + "/idProduct");
    return true;
}
} // namespace

int usb_serial_list(unsigned short vendorId, UsbSerialPort *ports, int capacity)
{
    const std::string root = sysfsRoot();
    DIR *folder = opendir((root + "/class/tty").c_str());
    if (!folder)
        return 0;
    std::vector<UsbSerialPort> found;
    while (const dirent *entry = readdir(folder)) {
        UsbSerialPort port = {};
        if (strncmp(entry->d_name, TTY_FAMILY, strlen(TTY_FAMILY)) == 0 &&
            describe(root, entry->d_name, &port) && port.vendorId == vendorId)
            found.push_back(port);
    }
    closedir(folder);
    std::sort(found.begin(), found.end(), [](const UsbSerialPort &a, const UsbSerialPort &b) {
        return ttyNumber(a.name) < ttyNumber(b.name);
    });
    for (size_t i = 0; i < found.size() && static_cast<int>(i) < capacity; ++i)
        ports[i] = found[i];
    return static_cast<int>(found.size());
}
