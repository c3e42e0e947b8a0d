#include "port_folder.h"

#include "platform/pseudo_terminal.h"
#include "platform/serial_device.h"
#include "platform/serial_system.h"

#include <QFile>
#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

namespace {
PortFolder *active = nullptr;
SerialSystem real;

QString requestName(unsigned long request, void *argument)
{
    static const std::map<unsigned long, const char *> names = {
        {TIOCGEXCL, "TIOCGEXCL"}, {TIOCEXCL, "TIOCEXCL"},       {TIOCNXCL, "TIOCNXCL"},
        {TIOCMBIC, "TIOCMBIC"},   {TIOCGSERIAL, "TIOCGSERIAL"},
    };
    if (request == TCFLSH)
        return reinterpret_cast<uintptr_t>(argument) == TCIFLUSH ? "TCFLSH input" : "TCFLSH output";
    const auto found = names.find(request);
    return found != names.end() ? found->second : QString::number(request, 16);
}

int answerIoctl(int device, unsigned long request, void *argument)
{
    active->calls << requestName(request, argument);
    struct stat status;
    if (request != TIOCGSERIAL || fstat(device, &status) != 0 ||
        !active->uartTypes.count(status.st_rdev))
        return real.ioctl(device, request, argument);
    *static_cast<serial_struct *>(argument) = serial_struct{};
    static_cast<serial_struct *>(argument)->type = active->uartTypes[status.st_rdev];
    return 0;
}

int noted(const char *call, int result)
{
    active->calls << call;
    return result;
}

const SerialSystem standIn = {
    [](const char *path, int flags) { return noted("open", real.open(path, flags)); }, answerIoctl,
    [](int device, int operation) { return noted("flock", real.flock(device, operation)); },
    [](int device) { return noted("close", real.close(device)); }};

QString pathOf(int comNumber)
{
    char path[4200];
    return serial_device_path(comNumber, path, sizeof path) ? QString::fromLocal8Bit(path)
                                                            : QString();
}
} // namespace

PortFolder::PortFolder()
{
    if (!folder.isValid() || active)
        qFatal("no temporary folder, or two at once");
    serial_device_use_folder(folder.path().toLocal8Bit().constData());
    active = this;
    real = serial_system();
    serial_system_replace(&standIn);
}

PortFolder::~PortFolder()
{
    serial_system_replace(nullptr);
    active = nullptr;
    serial_device_use_folder(nullptr);
    for (int master : masters)
        pty_close(master);
}

int PortFolder::addPort(int comNumber, int uartType)
{
    char slave[256];
    const int master = pty_open_master(slave, sizeof slave);
    struct stat status;
    if (master < 0 || stat(slave, &status) != 0)
        qFatal("no pseudo-terminal");
    masters.push_back(master);
    if (serial_device_is_legacy_port(comNumber))
        uartTypes[status.st_rdev] = uartType;
    link(comNumber, slave);
    return master;
}

void PortFolder::link(int comNumber, const char *devicePath)
{
    remove(comNumber);
    if (!QFile::link(QString::fromLocal8Bit(devicePath), pathOf(comNumber)))
        qFatal("cannot link COM%d", comNumber);
}

void PortFolder::remove(int comNumber)
{
    QFile::remove(pathOf(comNumber));
}
