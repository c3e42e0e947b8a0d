#include "platform/serial_device.h"

#include <cstdio>

namespace {
const char *const defaultFolder = "/dev";
char chosenFolder[4096];

// Each family of serial devices takes a block of 32 COM numbers.
struct DeviceFamily
{
    int firstCom;
    const char *name;
};
constexpr int FAMILY_SIZE = 32;
constexpr DeviceFamily families[] = {
    {1, "ttyS"},
    {33, "ttyUSB"},
    {65, "ttyACM"},
};

const char *deviceFolder()
{
    return chosenFolder[0] ? chosenFolder : defaultFolder;
}
} // namespace

bool serial_device_path(int comNumber, char *buffer, size_t size)
{
    for (const DeviceFamily &family : families) {
        const int index = comNumber - family.firstCom;
        if (index < 0 || index >= FAMILY_SIZE)
            continue;
        const int written = snprintf(buffer, size, "%s/%s%d", deviceFolder(), family.name, index);
        return written > 0 && static_cast<size_t>(written) < size;
    }
    return false;
}

void serial_device_use_folder(const char *folder)
{
    snprintf(chosenFolder, sizeof chosenFolder, "%s", folder ? folder : "");
}
