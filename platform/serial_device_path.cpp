#include "platform/serial_device.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char *const defaultFolder = "/dev";
char chosenFolder[4096];

// Each family of serial devices takes a block of 32 COM numbers.
struct DeviceFamily
{
    int firstCom;
    const char *name;
    bool legacy; // the machine's own ports, named whether a UART is there or not
};
constexpr int FAMILY_SIZE = 32;
constexpr DeviceFamily families[] = {
    {1, "ttyS", true},
    {33, "ttyUSB", false},
    {65, "ttyACM", false},
};

const DeviceFamily *familyOf(int comNumber)
{
    for (const DeviceFamily &family : families)
        if (comNumber >= family.firstCom && comNumber < family.firstCom + FAMILY_SIZE)
            return &family;
    return nullptr;
}

const char *deviceFolder()
{
    return chosenFolder[0] != 0 ? chosenFolder : defaultFolder;
}
} // namespace

bool serial_device_path(int comNumber, char *buffer, size_t size)
{
    const DeviceFamily *family = familyOf(comNumber);
    if (!family)
        return false;
    const int written = snprintf(buffer, size, "%s/%s%d", deviceFolder(), family->name,
                                 comNumber - family->firstCom);
    return written > 0 && static_cast<size_t>(written) < size;
}

bool serial_device_is_legacy_port(int comNumber)
{
    const DeviceFamily *family = familyOf(comNumber);
    return (family != nullptr) && family->legacy;
}

void serial_device_use_folder(const char *folder)
{
    snprintf(chosenFolder, sizeof chosenFolder, "%s", folder ? folder : "");
}

int serial_device_com_of_path(const char *path)
{
    char candidate[4200];
    for (const DeviceFamily &family : families)
        for (int n = family.firstCom; n < family.firstCom + FAMILY_SIZE; ++n)
            if (serial_device_path(n, candidate, sizeof candidate) && strcmp(candidate, path) == 0)
                return n;
    return 0;
}

int serial_device_check_path(const char *path)
{
    struct stat status;
    if (stat(path, &status) != 0)
        return SERIAL_PATH_MISSING;
    if (!S_ISCHR(status.st_mode))
        return SERIAL_PATH_NOT_DEVICE;
    if (access(path, R_OK | W_OK) != 0)
        return SERIAL_PATH_NO_ACCESS;
    return SERIAL_PATH_DEVICE;
}
