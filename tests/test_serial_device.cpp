#include "platform/serial_device.h"
#include "port_folder.h"

#include <QTemporaryFile>
#include <QTest>
#include <asm/termbits.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
QByteArray pathOf(int comNumber, size_t size = 256)
{
    char path[256];
    return serial_device_path(comNumber, path, size) ? path : "none";
}

int put(int device, const QByteArray &data)
{
    return serial_device_write(device, reinterpret_cast<const uint8_t *>(data.constData()),
                               static_cast<size_t>(data.size()));
}

QByteArray drain(int master)
{
    uint8_t bytes[512];
    const int got = serial_device_read(master, bytes, sizeof bytes);
    return got > 0 ? QByteArray(reinterpret_cast<char *>(bytes), got) : QByteArray();
}

} // namespace

class SerialDeviceTest : public QObject
{
    Q_OBJECT

private slots:
    void comNumbersMapToDeviceFamilies()
    {
        const std::pair<int, const char *> cases[] = {{1, "/dev/ttyS0"},    {32, "/dev/ttyS31"},
                                                      {33, "/dev/ttyUSB0"}, {64, "/dev/ttyUSB31"},
                                                      {65, "/dev/ttyACM0"}, {96, "/dev/ttyACM31"},
                                                      {-1, "none"},         {0, "none"},
                                                      {97, "none"},         {2500, "none"}};
        for (const auto &[com, path] : cases)
            QCOMPARE(pathOf(com), QByteArray(path));
        QCOMPARE(pathOf(33, 10), QByteArray("none")); // too small for the path

        serial_device_use_folder("/tmp/ports");
        QCOMPARE(pathOf(66), QByteArray("/tmp/ports/ttyACM1"));
        serial_device_use_folder(nullptr);
        QCOMPARE(pathOf(66), QByteArray("/dev/ttyACM1"));
    }

    void anotherProgramsPortIsLeftAlone()
    {
        // A holder by exclusive mark or by lock keeps its input and mark, even against root.
        for (bool marked : {true, false}) {
            PortFolder ports;
            const int master = ports.addPort(65);
            const int holder = open(pathOf(65).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            QVERIFY(holder >= 0);
            QCOMPARE(marked ? ioctl(holder, TIOCEXCL) : flock(holder, LOCK_EX | LOCK_NB), 0);
            QCOMPARE(put(master, "pending\n"), 8);

            QVERIFY(!serial_device_probe(65) && serial_device_open(65) == SERIAL_NO_DEVICE);
            QCOMPARE(drain(holder), QByteArray("pending\n"));
            int mark = -1;
            QVERIFY(ioctl(holder, TIOCGEXCL, &mark) == 0 && mark == (marked ? 1 : 0));
            close(holder);
        }
    }

    void openIsExclusiveProbeOnlyLooksAndOpenLowersTheLines()
    {
        PortFolder ports;
        ports.addPort(65);
        ports.addPort(3);
        ports.addPort(2, PORT_UNKNOWN);
        const QStringList look = {"open", "TIOCGEXCL", "flock"};
        const struct
        {
            int com;
            bool found;
            QStringList calls;
        } cases[] = {
            {65, true, look + QStringList{"close"}},
            {3, true, look + QStringList{"TIOCGSERIAL", "close"}},
            {2, false, look + QStringList{"TIOCGSERIAL", "close"}}, // a name with no UART
            {66, false, {"open"}},
        };
        for (const auto &c : cases) {
            ports.calls.clear();
            QCOMPARE(serial_device_probe(c.com), c.found);
            QCOMPARE(ports.calls, c.calls);
        }
        for (int com : {2, 66, 97})
            QCOMPARE(serial_device_open(com), SERIAL_NO_DEVICE);
        const int held = serial_device_open(65);
        QVERIFY(held >= 0);
        QVERIFY(serial_device_open(65) == SERIAL_NO_DEVICE && !serial_device_probe(65));
        serial_device_close(held);

        // Opening looks first too, then drops DTR and RTS; closing drops unsent output.
        ports.calls.clear();
        const int device = serial_device_open(65);
        QVERIFY(device >= 0);
        QCOMPARE(ports.calls, look + QStringList({"TIOCMBIC", "TIOCEXCL", "TCFLSH input"}));
        ports.calls.clear();
        serial_device_close(device);
        QCOMPARE(ports.calls, QStringList({"TCFLSH output", "TIOCNXCL", "close"}));

        QTemporaryFile plain;
        QVERIFY(plain.open());
        ports.link(1, plain.fileName().toLocal8Bit().constData());
        QCOMPARE(serial_device_open(1), SERIAL_NO_DEVICE);
    }

    void everyLinkRateReachesTheLineAndNothingWaits()
    {
        PortFolder ports;
        const int master = ports.addPort(3);
        const int device = serial_device_open(3);
        QVERIFY(device >= 0);
        // Input follows output: after 14400, and after a split left by another program.
        termios2 split;
        ioctl(device, TCGETS2, &split);
        split.c_cflag &= ~(CBAUD | CIBAUD);
        split.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
        split.c_ispeed = 4800;
        split.c_ospeed = 9600;
        // And input processing another program left on: every byte must reach the link as sent.
        const tcflag_t processing = IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                    IXON | IXOFF | IXANY | INPCK;
        split.c_iflag |= processing;
        ioctl(device, TCSETS2, &split);
        SerialLineSettings line{};
        serial_device_line_settings(master, &line);
        QCOMPARE(line.inputBaudRate, 4800);
        for (int rate : {600, 1200, 14400, 2400, 4800, 9600, 19200, 14400, 38400, 57600, 115200}) {
            QCOMPARE(serial_device_configure(device, rate, 8, 'n', 2), 0);
            serial_device_line_settings(master, &line);
            QCOMPARE((QList<int>{line.baudRate, line.inputBaudRate, line.dataBits, line.parity,
                                 line.stopBits}),
                     (QList<int>{rate, rate, 8, 'n', 2}));
        }
        QCOMPARE(serial_device_configure(device, 9600, 8, 'n', 1), 0);
        serial_device_line_settings(master, &line);
        QCOMPARE(line.stopBits, 1);
        termios2 raw;
        ioctl(device, TCGETS2, &raw);
        QCOMPARE(raw.c_iflag & processing, tcflag_t{0});

        QCOMPARE(serial_device_configure(device, 9600, 7, 'e', 1), -1); // a pty is always 8N
        QCOMPARE(serial_device_configure(device, 9600, 8, 'x', 1), -1);
        QCOMPARE(serial_device_configure(device, 9600, 8, 'n', 3), -1);
        QCOMPARE(serial_device_configure(device, 0, 8, 'n', 2), -1);
        QCOMPARE(serial_device_configure(-1, 9600, 8, 'n', 2), -1);

        uint8_t bytes[16];
        QCOMPARE(serial_device_read(device, bytes, sizeof bytes), 0);

        QCOMPARE(put(master, QByteArray::fromHex("0201AA03A8")), 5);
        QVERIFY(serial_device_read(device, bytes, 3) == 3 &&
                serial_device_read(device, bytes + 3, sizeof bytes - 3) == 2);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 5), QByteArray::fromHex("0201AA03A8"));
        QCOMPARE(put(device, QByteArray::fromHex("0201EE03EC")), 5);
        QCOMPARE(drain(master), QByteArray::fromHex("0201EE03EC"));

        // Once nobody takes the output and the buffers are full, a write gives up.
        uint8_t filler[1024] = {};
        int written = 0;
        for (int round = 0; round < 1000 && written != -1; ++round) {
            while (write(device, filler, sizeof filler) > 0)
                continue;
            QCOMPARE(errno, EAGAIN);
            written = put(device, "\x02");
        }
        QCOMPARE(written, -1);
        serial_device_close(device);
        QVERIFY(serial_device_read(-1, bytes, sizeof bytes) == -1 && put(-1, "\x02") == -1);
    }
};

QTEST_GUILESS_MAIN(SerialDeviceTest)
#include "test_serial_device.moc"
