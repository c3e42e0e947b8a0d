#include "cli/port_name.h"

#include "cli/exit_codes.h"
#include "platform/serial_device.h"

#include <QFile>
#include <QRegularExpression>

namespace {
constexpr size_t PATH_SIZE = 4200;

int checkDevice(PortName *port, QString *error)
{
    switch (serial_device_check_path(port->devicePath.constData())) {
    case SERIAL_PATH_DEVICE:
        return 0;
    case SERIAL_PATH_MISSING:
        *error = QString::fromUtf8("a porta %1 não existe").arg(port->shown);
        return EXIT_USAGE;
    case SERIAL_PATH_NO_ACCESS:
        *error = QString::fromUtf8("sem permissão para abrir a porta %1").arg(port->shown);
        return EXIT_PORT_UNAVAILABLE;
    default:
        *error = QString::fromUtf8("%1 não é uma porta serial").arg(port->shown);
        return EXIT_USAGE;
    }
}
} // namespace

int resolvePort(const QString &text, PortName *port, QString *error)
{
    static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    char path[PATH_SIZE];
    if (const QRegularExpressionMatch m = com.match(text); m.hasMatch()) {
        bool ok = false;
        const int n = m.captured(1).toInt(&ok);
        if (!ok || !serial_device_path(n, path, sizeof path)) {
            *error = QString::fromUtf8("COM%1 não corresponde a nenhuma porta (veja a tabela de "
                                       "portas COM em velorix-cli(1))")
                         .arg(m.captured(1));
            return EXIT_USAGE;
        }
        port->comNumber = n;
        port->devicePath = path;
        port->shown = QStringLiteral("COM%1 (%2)").arg(n).arg(QString::fromLocal8Bit(path));
        return checkDevice(port, error);
    }
    if (!text.contains(QLatin1Char('/'))) {
        *error = QString::fromUtf8("porta inválida: %1 (use COMn ou o caminho do dispositivo)")
                     .arg(text);
        return EXIT_USAGE;
    }
    port->devicePath = QFile::encodeName(text);
    port->comNumber = serial_device_com_of_path(port->devicePath.constData());
    port->shown =
        port->comNumber ? QStringLiteral("COM%1 (%2)").arg(port->comNumber).arg(text) : text;
    return checkDevice(port, error);
}

int openPort(const PortName &port)
{
    return port.comNumber ? serial_device_open(port.comNumber)
                          : serial_device_open_path(port.devicePath.constData());
}

QString portBusyText(const PortName &port)
{
    return QString::fromUtf8("a porta %1 está em uso por outro programa").arg(port.shown);
}
