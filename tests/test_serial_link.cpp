#include "platform/serial_device.h"
#include "platform/sleep.h"
#include "simulated_port.h"

#include <QDeadlineTimer>
#include <QTest>
#include <cstring>
#include <sys/ioctl.h>

namespace {
constexpr int READER_COM = 65;
LinkSession session;
SerialPortSettings &serial_port = session.serial_port;
int32_t &com_port_number = session.com_port_number;

QByteArray bytesOf(const uint8_t *bytes, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(n));
}

bool portReleased()
{
    return serial_port.handle == SERIAL_NO_HANDLE && !serial_port.open &&
           serial_device_probe(serial_port.portNumber);
}

bool ask(std::initializer_list<uint8_t> commands)
{
    for (const uint8_t &command : commands)
        if (serial_send_frame(&serial_port, &command, 1) != SERIAL_DONE)
            return false;
    platform_sleep(serial_answer_delay(serial_port.baudRate));
    return true;
}

QByteArray exchange(uint8_t command, uint8_t fill = 0)
{
    uint8_t answer[65];
    memset(answer, fill, sizeof answer);
    if (!ask({command}))
        return "send failed";
    const bool received = serial_receive_frame(&serial_port, answer) == SERIAL_DONE;
    return (received ? "" : "nothing:") + bytesOf(answer, sizeof answer);
}
} // namespace

class SerialLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void settingsCheckedBeforeTheDeviceAndEveryRateOpens()
    {
        SimulatedPort port(READER_COM, 2400, &session);
        const int held = serial_device_open(READER_COM);
        QVERIFY(held >= 0);
        const struct
        {
            int32_t baudRate, dataBits;
            const char *parity;
            int32_t stopBits;
            int8_t result;
        } cases[] = {
            {300, 8, "n", 2, SERIAL_BAD_BAUD_RATE},  {300, 8, "n", 3, SERIAL_BAD_BAUD_RATE},
            {2400, 6, "n", 2, SERIAL_BAD_DATA_BITS}, {2400, 8, "x", 2, SERIAL_BAD_PARITY},
            {2400, 8, "N", 2, SERIAL_BAD_PARITY},    {2400, 8, nullptr, 2, SERIAL_BAD_PARITY},
            {2400, 8, "n", 3, SERIAL_BAD_STOP_BITS}, {2400, 8, "n", 0, SERIAL_BAD_STOP_BITS},
            {2400, 8, "n", 2, SERIAL_OPEN_FAILED},
        };
        for (const auto &c : cases) {
            SerialPortSettings settings = {READER_COM, c.baudRate,       c.dataBits, c.parity,
                                           c.stopBits, SERIAL_NO_HANDLE, 0};
            QCOMPARE(serial_open(&settings), c.result);
            QVERIFY(settings.handle == SERIAL_NO_HANDLE && !settings.open);
        }
        serial_device_close(held);
        QVERIFY(port.sleep.waits.empty());

        const std::pair<int32_t, uint32_t> table[] = {
            {600, 1000},   {1200, 1000}, {2400, 2000}, {4800, 200},  {9600, 200},
            {14400, 1000}, {19200, 200}, {38400, 200}, {57600, 200}, {115200, 200}};
        for (const auto &[rate, wait] : table) {
            serial_load_settings(&serial_port, com_port_number, rate);
            QVERIFY(serial_open(&serial_port) == SERIAL_OPENED && serial_port.open);
            SerialLineSettings line{};
            serial_device_line_settings(port.reader.masterDevice(), &line);
            QVERIFY(line.baudRate == rate && serial_answer_delay(rate) == wait);
            QVERIFY(serial_close(&serial_port) == 0 && portReleased());
        }
        QCOMPARE(serial_answer_delay(300), 1000u);
    }

    void failedOpensHoldNothingAndSettingsWaitForClosing()
    {
        SimulatedPort port(READER_COM, 2400, &session);
        serial_load_settings(&serial_port, READER_COM + 1, 2400); // nothing there
        QVERIFY(serial_open(&serial_port) == SERIAL_OPEN_FAILED &&
                serial_port.handle == SERIAL_NO_HANDLE);

        // The driver refuses 7 data bits on a pty; the port is not left locked.
        SerialPortSettings sevenBits = {READER_COM, 2400, 7, "e", 1, SERIAL_NO_HANDLE, 0};
        QCOMPARE(serial_open(&sevenBits), SERIAL_SETTINGS_REFUSED);
        QVERIFY(sevenBits.handle == SERIAL_NO_HANDLE && !sevenBits.open &&
                serial_device_probe(READER_COM));

        // Opening a record that still holds its port releases the old device;
        // settings load only while the port is closed.
        const auto settings = [] {
            return QList<int>{serial_port.portNumber, serial_port.baudRate, serial_port.dataBits,
                              serial_port.parity[0], serial_port.stopBits};
        };
        serial_load_settings(&serial_port, READER_COM, 2400);
        QCOMPARE(settings(), (QList<int>{READER_COM, 2400, 8, 'n', 2}));
        for (int twice = 0; twice < 2; ++twice)
            QCOMPARE(serial_open(&serial_port), SERIAL_OPENED);
        serial_load_settings(&serial_port, 3, 9600);
        QCOMPARE(settings(), (QList<int>{READER_COM, 2400, 8, 'n', 2}));
        QVERIFY(serial_close(&serial_port) == 0 && serial_close(&serial_port) == 0 &&
                portReleased());
        serial_load_settings(&serial_port, 3, 9600);
        QCOMPARE(settings(), (QList<int>{3, 9600, 8, 'n', 2}));
    }

    void sendAndReceiveOneFrame()
    {
        SimulatedPort port(READER_COM, 2400, &session);
        QCOMPARE(serial_open(&serial_port), SERIAL_OPENED);
        uint8_t payload[80];
        for (size_t i = 0; i < sizeof payload; ++i)
            payload[i] = static_cast<uint8_t>(0x30 + i);
        // Longer payloads write nothing: the line then holds just the 60-byte frame.
        QCOMPARE(serial_send_frame(&serial_port, payload, 61), SERIAL_SEND_FAILED);
        QCOMPARE(serial_send_frame(&serial_port, payload, 80), SERIAL_SEND_FAILED);
        QCOMPARE(serial_send_frame(&serial_port, payload, 60), SERIAL_DONE);
        uint8_t line[512];
        QCOMPARE(serial_device_read(port.reader.masterDevice(), line, sizeof line), 64);
        QCOMPARE(bytesOf(line + 2, 60), bytesOf(payload, 60));

        uint8_t answer[65] = {};
        QVERIFY(serial_receive_frame(&serial_port, answer) == SERIAL_NOTHING_RECEIVED &&
                !answer[0]);

        // A 60-byte answer is a 64-byte frame: all of it is parsed.
        port.model.firmwareVersion = std::string(58, 'F');
        const QByteArray whole = "\xAA" + QByteArray(58, 'F') + '\0';
        QCOMPARE(exchange(0xAA, 0x5A).left(60), whole);

        // Three bytes of noise push its trailer past the first 64 bytes read.
        port.model.faults.noiseBeforeFrame = true;
        QCOMPARE(exchange(0xAA, 0x5A).left(68), "nothing:" + whole.left(59) + '\x5A');
        QCOMPARE(serial_receive_frame(&serial_port, answer), SERIAL_NOTHING_RECEIVED);
        port.model.faults.noiseBeforeFrame = false;

        // Two answers queued: the second is lost with the rest of what was read.
        // The pseudo-terminal hands bytes on in its own time: both answers are
        // waited for, so that one read finds them together.
        const size_t asked = port.model.requests.size() + 2;
        for (uint8_t command : {uint8_t(0xCC), uint8_t(0xEE)})
            QCOMPARE(serial_send_frame(&serial_port, &command, 1), SERIAL_DONE);
        int answered = 0, queued = 0;
        for (QDeadlineTimer patience(10000); !patience.hasExpired();) {
            answered += static_cast<int>(port.reader.service());
            ioctl(serial_port.handle, FIONREAD, &queued);
            if (port.model.requests.size() == asked && queued == answered)
                break;
        }
        memset(answer, 0, sizeof answer);
        QVERIFY(serial_receive_frame(&serial_port, answer) == SERIAL_DONE &&
                bytesOf(answer, 9) == QByteArray::fromHex("CC3030303030310000"));
        QCOMPARE(serial_receive_frame(&serial_port, answer), SERIAL_NOTHING_RECEIVED);

        // A garbled answer is no answer, even when its first byte fits.
        for (bool *fault : {&port.model.faults.wrongCheck, &port.model.faults.brokenTrailer}) {
            *fault = true;
            QVERIFY(exchange(0xCC).startsWith("nothing:"));
            *fault = false;
        }
        serial_close(&serial_port);
        QCOMPARE(serial_receive_frame(&serial_port, answer), SERIAL_NOTHING_RECEIVED);
        QCOMPARE(serial_send_frame(&serial_port, payload, 1), SERIAL_SEND_FAILED);
    }
};

QTEST_GUILESS_MAIN(SerialLinkTest)
#include "test_serial_link.moc"
