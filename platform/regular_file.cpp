#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int platform_open_regular_file(const char *path)
{
    // Looked at first, so that a device is not even opened (opening a serial
    // port raises its modem lines); checked again on the open file, in case
    // the name changed hands in between, without blocking meanwhile.
    struct stat status;
    if (stat(path, &status) != 0 || !S_ISREG(status.st_mode))
        return REGULAR_FILE_NONE;
    const int file = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0)
        return REGULAR_FILE_NONE;
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(file);
        return REGULAR_FILE_NONE;
    }
    return file;
}

void platform_close_file(int descriptor)
{
    if (descriptor >= 0)
        close(descriptor);
}
