#include "platform/serial_line_rate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

int line_rate_set(int device, int32_t baudRate)
{
    termios2 line;
    if (ioctl(device, TCGETS2, &line) != 0)
        return -1;
    line.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    line.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    line.c_ispeed = static_cast<speed_t>(baudRate);
    line.c_ospeed = static_cast<speed_t>(baudRate);
    return ioctl(device, TCSETS2, &line) == 0 ? 0 : -1;
}

int32_t line_rate_get(int device)
{
    termios2 line;
    if (ioctl(device, TCGETS2, &line) != 0)
        return -1;
    return static_cast<int32_t>(line.c_ospeed);
}
