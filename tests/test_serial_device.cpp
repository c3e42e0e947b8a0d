#include "platform/pseudo_terminal.h"
#include "platform/serial_device.h"
#include "port_folder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <unistd.h>

namespace {
QByteArray pathOf(int comNumber)
{
    char path[256];
    if (!serial_device_path(comNumber, path, sizeof path))
        return "none";
    return path;
}

// Reads what the configurator side wrote, from the master side.
QByteArray drain(int master)
{
    uint8_t bytes[512];
    const int got = serial_device_read(master, bytes, sizeof bytes);
    return got > 0 ? QByteArray(reinterpret_cast<char *>(bytes), got) : QByteArray();
}

SerialLineSettings lineOf(int master)
{
    SerialLineSettings line{};
    if (!serial_device_line_settings(master, &line))
        qFatal("cannot read the line back");
    return line;
}
} // namespace

class SerialDeviceTest : public QObject
{
    Q_OBJECT

private slots:
    void comNumbersMapToDeviceFamilies()
    {
        QCOMPARE(pathOf(1), QByteArray("/dev/ttyS0"));
        QCOMPARE(pathOf(32), QByteArray("/dev/ttyS31"));
        QCOMPARE(pathOf(33), QByteArray("/dev/ttyUSB0"));
        QCOMPARE(pathOf(64), QByteArray("/dev/ttyUSB31"));
        QCOMPARE(pathOf(65), QByteArray("/dev/ttyACM0"));
        QCOMPARE(pathOf(96), QByteArray("/dev/ttyACM31"));
        for (int none : {-1, 0, 97, 2500})
            QCOMPARE(pathOf(none), QByteArray("none"));

        char tooSmall[10];
        QVERIFY(!serial_device_path(33, tooSmall, sizeof tooSmall));

        serial_device_use_folder("/tmp/ports");
        QCOMPARE(pathOf(66), QByteArray("/tmp/ports/ttyACM1"));
        serial_device_use_folder(nullptr);
        QCOMPARE(pathOf(66), QByteArray("/dev/ttyACM1"));
    }

    void openIsExclusiveAndRefusesWhatIsNoPort()
    {
        PortFolder ports;
        ports.addPort(65);
        QCOMPARE(serial_device_open(66), SERIAL_NO_DEVICE);
        QCOMPARE(serial_device_open(97), SERIAL_NO_DEVICE);

        const int held = serial_device_open(65);
        QVERIFY(held >= 0);
        QCOMPARE(serial_device_open(65), SERIAL_NO_DEVICE);
        QVERIFY(!serial_device_available(65));
        serial_device_close(held);
        QVERIFY(serial_device_available(65));
        const int again = serial_device_open(65);
        QVERIFY(again >= 0);
        serial_device_close(again);

        // A file that is not a terminal is no port.
        QTemporaryDir other;
        const QString plain = other.filePath(QStringLiteral("plain"));
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        ports.link(1, plain.toLocal8Bit().constData());
        QCOMPARE(serial_device_open(1), SERIAL_NO_DEVICE);
    }

    void everyLinkRateReachesTheLine()
    {
        PortFolder ports;
        const int master = ports.addPort(3);
        const int device = serial_device_open(3);
        QVERIFY(device >= 0);
        for (int rate : {600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200}) {
            QCOMPARE(serial_device_configure(device, rate, 8, 'n', 2), 0);
            const SerialLineSettings line = lineOf(master);
            QCOMPARE(line.baudRate, rate);
            QCOMPARE(line.dataBits, 8);
            QCOMPARE(line.parity, 'n');
            QCOMPARE(line.stopBits, 2);
        }
        QCOMPARE(serial_device_configure(device, 9600, 8, 'n', 1), 0);
        QCOMPARE(lineOf(master).stopBits, 1);

        // Settings the driver cannot take, or that make no sense, are refused.
        QCOMPARE(serial_device_configure(device, 9600, 7, 'e', 1), -1); // a pty is always 8N
        QCOMPARE(serial_device_configure(device, 9600, 8, 'x', 1), -1);
        QCOMPARE(serial_device_configure(device, 9600, 8, 'n', 3), -1);
        QCOMPARE(serial_device_configure(device, 0, 8, 'n', 2), -1);
        QCOMPARE(serial_device_configure(-1, 9600, 8, 'n', 2), -1);
        serial_device_close(device);
    }

    void readAndWriteNeverWait()
    {
        PortFolder ports;
        const int master = ports.addPort(12);
        int device = serial_device_open(12);
        QVERIFY(device >= 0);
        QCOMPARE(serial_device_configure(device, 2400, 8, 'n', 2), 0);
        serial_device_close(device);
        // Bytes waiting before the port was opened belong to no exchange.
        const uint8_t stale[] = {0x02, 0x01, 0xAA};
        QCOMPARE(serial_device_write(master, stale, sizeof stale), 3);
        device = serial_device_open(12);
        QVERIFY(device >= 0);

        uint8_t bytes[16];
        QCOMPARE(serial_device_read(device, bytes, sizeof bytes), 0);

        const uint8_t answer[] = {0x02, 0x01, 0xAA, 0x03, 0xA8};
        QCOMPARE(serial_device_write(master, answer, sizeof answer), 5);
        QCOMPARE(serial_device_read(device, bytes, 3), 3);
        QCOMPARE(serial_device_read(device, bytes + 3, sizeof bytes - 3), 2);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 5),
                 QByteArray(reinterpret_cast<const char *>(answer), 5));

        const uint8_t request[] = {0x02, 0x01, 0xEE, 0x03, 0xEC};
        QCOMPARE(serial_device_write(device, request, sizeof request), 5);
        QCOMPARE(drain(master), QByteArray(reinterpret_cast<const char *>(request), 5));

        // Nobody takes the output any more: once the driver's buffers are
        // full, a write gives up after its bound.
        uint8_t filler[1024] = {};
        int written = 0;
        for (int round = 0; round < 1000 && written != -1; ++round) {
            while (write(device, filler, sizeof filler) > 0) {
            }
            QCOMPARE(errno, EAGAIN);
            written = serial_device_write(device, request, 1);
        }
        QCOMPARE(written, -1);

        serial_device_close(device);
        QCOMPARE(serial_device_read(-1, bytes, sizeof bytes), -1);
        QCOMPARE(serial_device_write(-1, request, 1), -1);
    }
};

QTEST_GUILESS_MAIN(SerialDeviceTest)
#include "test_serial_device.moc"
