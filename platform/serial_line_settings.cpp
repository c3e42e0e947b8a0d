#include "platform/serial_device.h"
#include "platform/serial_line_rate.h"

#include <cstdlib>
#include <sys/ioctl.h>
#include <termios.h>

namespace {
struct StandardRate
{
    int32_t rate;
    speed_t code;
};
constexpr StandardRate standardRates[] = {
    {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};
// A rate that the driver can only approach (a custom divisor) still carries
// the line when it is this close.
constexpr int32_t RATE_TOLERANCE_PERCENT = 2;

const StandardRate *standardRate(int32_t rate)
{
    for (const StandardRate &entry : standardRates)
        if (entry.rate == rate)
            return &entry;
    return nullptr;
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

void makeRaw(termios *line, tcflag_t frame)
{
    cfmakeraw(line);
    line->c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (frame & PARENB)
        line->c_iflag |= INPCK;
    line->c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    line->c_cflag |= frame | CLOCAL | CREAD;
    // A read returns at once with whatever the driver holds.
    line->c_cc[VMIN] = 0;
    line->c_cc[VTIME] = 0;
}

// A driver that cannot do what was asked keeps other settings and still
// reports success, so the line is read back.
bool lineMatches(int device, int32_t baudRate, tcflag_t frame)
{
    termios line;
    if (tcgetattr(device, &line) != 0)
        return false;
    const tcflag_t mask = CSIZE | CSTOPB | PARENB | PARODD;
    if ((line.c_cflag & mask) != frame)
        return false;
    const int32_t actual = line_rate_get(device);
    const int64_t off = std::abs(int64_t{actual} - baudRate);
    return actual > 0 && off * 100 <= int64_t{baudRate} * RATE_TOLERANCE_PERCENT;
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
    termios line;
    if (baudRate <= 0 || !frameBits(dataBits, parity, stopBits, &frame) ||
        tcgetattr(device, &line) != 0)
        return -1;
    makeRaw(&line, frame);
    const StandardRate *standard = standardRate(baudRate);
    const speed_t code = standard ? standard->code : B9600;
    cfsetispeed(&line, code);
    cfsetospeed(&line, code);
    if (tcsetattr(device, TCSANOW, &line) != 0)
        return -1;
    if (!standard && line_rate_set(device, baudRate) != 0)
        return -1;
    // DTR and RTS stay low; a pseudo-terminal has no modem lines to drop.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(device, TIOCMBIC, &lines);
    return lineMatches(device, baudRate, frame) ? 0 : -1;
}

bool serial_device_line_settings(int device, SerialLineSettings *settings)
{
    termios line;
    if (tcgetattr(device, &line) != 0)
        return false;
    const int32_t rate = line_rate_get(device);
    if (rate < 0)
        return false;
    settings->baudRate = rate;
    settings->dataBits = dataBitsOf(line.c_cflag);
    settings->parity = !(line.c_cflag & PARENB) ? 'n' : (line.c_cflag & PARODD) ? 'o' : 'e';
    settings->stopBits = (line.c_cflag & CSTOPB) ? 2 : 1;
    return true;
}
