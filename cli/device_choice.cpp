#include "cli/device_choice.h"

#include "cli/exit_codes.h"
#include "cli/report.h"
#include "commands/message_catalogue.h"
#include "commands/reader_commands.h"
#include "link/hid_link.h"
#include "platform/serial_device.h"
#include "platform/usb_serial_ports.h"

#include <QFile>
#include <QRegularExpression>
#include <array>

namespace {
// More readers than any bench's hubs hold.
constexpr int MOST_READERS = 64;
constexpr size_t PATH_SIZE = 4200;

class SilentObserver : public CommandObserver
{
public:
    void progress(const QString &) override {}
};

void addHidReaders(const HidLibrary &library, QList<AttachedReader> &readers)
{
    std::array<HidUsbDevice, MOST_READERS> listed{};
    const int n = std::min(hid_list_readers(&library, listed.data(), MOST_READERS), MOST_READERS);
    for (int i = 0; i < n; ++i) {
        AttachedReader reader;
        reader.hid = listed[size_t(i)];
        reader.portPath = QString::fromLocal8Bit(reader.hid.portPath);
        readers << reader;
    }
}

// A CDC port joins the HID interface on its USB port, or stands alone.
void addCdcPorts(QList<AttachedReader> &readers)
{
    std::array<UsbSerialPort, MOST_READERS> ports{};
    const int n =
        std::min(usb_serial_list(READER_VENDOR_ID, ports.data(), MOST_READERS), MOST_READERS);
    for (int i = 0; i < n; ++i) {
        const UsbSerialPort &port = ports[size_t(i)];
        if (port.productId != READER_PID_KEYBOARD && port.productId != READER_PID_CDC)
            continue;
        const QString portPath = QString::fromLocal8Bit(port.portPath);
        auto same = std::find_if(readers.begin(), readers.end(), [&](const AttachedReader &r) {
            return !portPath.isEmpty() && r.portPath == portPath && r.tty.isEmpty();
        });
        AttachedReader *reader = same != readers.end() ? &*same : &readers.emplace_back();
        reader->portPath = portPath;
        char path[PATH_SIZE];
        for (int com = 1; serial_device_path(com, path, sizeof path); ++com)
            if (QFile::decodeName(path).endsWith(QLatin1Char('/') + QLatin1String(port.name)))
                reader->comNumber = com;
        if (reader->comNumber && serial_device_path(reader->comNumber, path, sizeof path))
            reader->tty = path;
        else
            reader->tty = "/dev/" + QByteArray(port.name);
    }
}

QString modeName(const AttachedReader &reader)
{
    return reader.cdcMode() ? QStringLiteral("Serial") : QStringLiteral("Teclado");
}
} // namespace

bool AttachedReader::cdcMode() const
{
    return hid.path[0] == 0 || hid.productId == READER_PID_CDC;
}

Reader AttachedReader::reader() const
{
    if (cdcMode() && !tty.isEmpty()) {
        Reader chosen = comNumber ? Reader::comPort(comNumber) : Reader::comPort(0, tty);
        chosen.hid = hid;
        return chosen;
    }
    return Reader::hidAt(hid);
}

QString AttachedReader::path() const
{
    return reader().link == ReaderLink::Serial ? QFile::decodeName(tty)
                                               : QString::fromLocal8Bit(hid.path);
}

QList<AttachedReader> attachedReaders(const HidLibrary &library)
{
    QList<AttachedReader> readers;
    addHidReaders(library, readers);
    addCdcPorts(readers);
    return readers;
}

ReaderIdentity askIdentity(LinkSession &session, const AttachedReader &attached)
{
    SilentObserver silent;
    ReaderCommands commands(session, silent);
    const Reader reader = attached.reader();
    ReaderIdentity identity;
    if (commands.readSerialNumber(reader, &identity.serial) == COMMAND_OK)
        commands.readFirmware(reader, &identity.firmware);
    return identity;
}

QJsonObject readerJson(const AttachedReader &attached, const ReaderIdentity &identity)
{
    const bool serial = attached.reader().link == ReaderLink::Serial;
    QJsonObject object{{"link", serial ? QStringLiteral("serial") : QStringLiteral("hid")},
                       {"path", attached.path()},
                       {"usb_port", attached.portPath},
                       {"mode", modeName(attached)},
                       {"serial", identity.serial},
                       {"firmware", identity.firmware}};
    if (attached.hid.path[0] != 0 && !attached.tty.isEmpty()) {
        object.insert(QStringLiteral("hid_path"), QString::fromLocal8Bit(attached.hid.path));
        object.insert(QStringLiteral("tty"), QFile::decodeName(attached.tty));
    }
    if (attached.comNumber)
        object.insert(QStringLiteral("com"), QStringLiteral("COM%1").arg(attached.comNumber));
    return object;
}

QString readerLine(const AttachedReader &attached, const ReaderIdentity &identity)
{
    const QJsonObject object = readerJson(attached, identity);
    auto value = [&](const char *key) {
        const QString text = object.value(QLatin1String(key)).toString();
        return text.isEmpty() ? QStringLiteral("-") : text;
    };
    return QStringList{value("link"), value("path"),   QStringLiteral("USB ") + value("usb_port"),
                       value("mode"), value("serial"), value("firmware")}
        .join(QStringLiteral("  "));
}

bool namesComPort(const QString &device)
{
    static const QRegularExpression com(QStringLiteral("^COM\\d+$"),
                                        QRegularExpression::CaseInsensitiveOption);
    return com.match(device).hasMatch();
}

bool namesSerialPort(const QList<AttachedReader> &readers, const QString &device)
{
    if (namesComPort(device))
        return true;
    if (!device.contains(QLatin1Char('/')))
        return false;
    return std::none_of(readers.begin(), readers.end(), [&](const AttachedReader &r) {
        return QString::fromLocal8Bit(r.hid.path) == device;
    });
}

bool findDevice(LinkSession &session, const QList<AttachedReader> &readers, const QString &device,
                AttachedReader *found)
{
    for (const AttachedReader &reader : readers)
        if (QString::fromLocal8Bit(reader.hid.path) == device || reader.portPath == device) {
            *found = reader;
            return true;
        }
    static const QRegularExpression serialNumber(QStringLiteral("^\\d{6}$"));
    if (!serialNumber.match(device).hasMatch())
        return false;
    for (const AttachedReader &reader : readers)
        if (askIdentity(session, reader).serial == device) {
            *found = reader;
            return true;
        }
    return false;
}

int loadReaderLibrary(LinkSession &session, Report &report)
{
    switch (session.loadHidLibrary()) {
    case HID_LOAD_OK:
        return EXIT_OK;
    case HID_LOAD_NO_FILE:
        return report.failWithMessage(EXIT_NOT_FOUND, MESSAGE_HID_LIBRARY_MISSING);
    default:
        return report.failWithMessage(EXIT_NOT_FOUND, MESSAGE_HID_LIBRARY_INCOMPLETE);
    }
}
