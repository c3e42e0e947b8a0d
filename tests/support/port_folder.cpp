#include "port_folder.h"

#include "platform/pseudo_terminal.h"
#include "platform/serial_device.h"

#include <QFile>
#include <QtGlobal>

PortFolder::PortFolder()
{
    if (!folder.isValid())
        qFatal("no temporary folder");
    serial_device_use_folder(folder.path().toLocal8Bit().constData());
}

PortFolder::~PortFolder()
{
    serial_device_use_folder(nullptr);
    for (int master : masters)
        pty_close(master);
}

int PortFolder::addPort(int comNumber)
{
    char slave[256];
    const int master = pty_open_master(slave, sizeof slave);
    if (master < 0)
        qFatal("no pseudo-terminal");
    masters.push_back(master);
    link(comNumber, slave);
    return master;
}

void PortFolder::link(int comNumber, const char *devicePath)
{
    char path[4200];
    if (!serial_device_path(comNumber, path, sizeof path))
        qFatal("COM%d names no device", comNumber);
    QFile::remove(QString::fromLocal8Bit(path));
    if (!QFile::link(QString::fromLocal8Bit(devicePath), QString::fromLocal8Bit(path)))
        qFatal("cannot link %s", path);
}

void PortFolder::remove(int comNumber)
{
    char path[4200];
    if (serial_device_path(comNumber, path, sizeof path))
        QFile::remove(QString::fromLocal8Bit(path));
}
