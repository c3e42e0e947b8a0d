// Line settings through Linux's termios2 calls, which carry the input and
// the output rate apart and take rates that have no B-constant (14400).
#include "platform/serial_device.h"
#include "platform/serial_system.h"

#include <asm/termbits.h>
#include <cstdlib>
#include <sys/ioctl.h>

namespace {
struct StandardRate
{
    int32_t rate;
    tcflag_t code;
};
constexpr StandardRate standardRates[] = {
    {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};
// A rate that the driver can only approach (a custom divisor) still carries
// the line when it is this close.
constexpr int32_t RATE_TOLERANCE_PERCENT = 2;

bool getLine(int device, termios2 *line)
{
    return serial_system().ioctl(device, TCGETS2, line) == 0;
}

tcflag_t rateCode(int32_t rate)
{
    for (const StandardRate &entry : standardRates)
        if (entry.rate == rate)
            return entry.code;
    return BOTHER;
}

bool frameBits(int dataBits, char parity, int stopBits, tcflag_t *bits)
{
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    if (dataBits < 5 || dataBits > 8 || (stopBits != 1 && stopBits != 2))
        return false;
    *bits = sizes[dataBits - 5] | (stopBits == 2 ? CSTOPB : 0);
    if (parity == 'o')
        *bits |= PARENB | PARODD;
    else if (parity == 'e')
        *bits |= PARENB;
    else if (parity != 'n')
        return false;
    return true;
}

// Raw bytes both ways, no flow control, one rate for input and output:
// clearing the input-rate bits makes the input follow the output, whatever
// rate an earlier open or another program left there.
void makeRaw(termios2 *line, tcflag_t frame, int32_t rate)
{
    line->c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                            ICRNL | IXON | IXOFF | IXANY | INPCK);
    if ((frame & PARENB) != 0U)
        line->c_iflag |= INPCK;
    line->c_oflag &= ~static_cast<tcflag_t>(OPOST);
    line->c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line->c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS | CBAUD | CIBAUD);
    line->c_cflag |= frame | CLOCAL | CREAD | rateCode(rate);
    line->c_ispeed = static_cast<speed_t>(rate);
    line->c_ospeed = static_cast<speed_t>(rate);
    // A read returns at once with whatever the driver holds.
    line->c_cc[VMIN] = 0;
    line->c_cc[VTIME] = 0;
}

bool near(speed_t actual, int32_t rate)
{
    const int64_t off = std::abs(int64_t{actual} - rate);
    return actual > 0 && off * 100 <= int64_t{rate} * RATE_TOLERANCE_PERCENT;
}

// A driver that cannot do what was asked keeps other settings and still
// reports success, so the line is read back, both of its rates included.
bool lineMatches(int device, int32_t rate, tcflag_t frame)
{
    termios2 line;
    if (!getLine(device, &line))
        return false;
    const tcflag_t mask = CSIZE | CSTOPB | PARENB | PARODD;
    return (line.c_cflag & mask) == frame && near(line.c_ospeed, rate) && near(line.c_ispeed, rate);
}

int dataBitsOf(tcflag_t flags)
{
    switch (flags & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}
} // namespace

int serial_device_configure(int device, int baudRate, int dataBits, char parity, int stopBits)
{
    tcflag_t frame;
    termios2 line;
    if (baudRate <= 0 || !frameBits(dataBits, parity, stopBits, &frame) || !getLine(device, &line))
        return -1;
    makeRaw(&line, frame, baudRate);
    if (serial_system().ioctl(device, TCSETS2, &line) != 0)
        return -1;
    return lineMatches(device, baudRate, frame) ? 0 : -1;
}

bool serial_device_line_settings(int device, SerialLineSettings *settings)
{
    termios2 line;
    if (!getLine(device, &line))
        return false;
    settings->baudRate = static_cast<int32_t>(line.c_ospeed);
    settings->inputBaudRate = static_cast<int32_t>(line.c_ispeed);
    settings->dataBits = dataBitsOf(line.c_cflag);
    settings->parity = (line.c_cflag & PARENB) == 0U   ? 'n'
                       : (line.c_cflag & PARODD) != 0U ? 'o'
                                                       : 'e';
    settings->stopBits = (line.c_cflag & CSTOPB) != 0U ? 2 : 1;
    return true;
}
