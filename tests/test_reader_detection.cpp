#include "modal_responder.h"
#include "platform/serial_device.h"
#include "simulated_port.h"
#include "window_fixture.h"

#include <QTest>

namespace {
constexpr int READER_COM = 65;
LinkSession session;
SerialPortSettings &serial_port = session.serial_port;
int32_t &com_port_number = session.com_port_number;
int32_t &com_baud_rate = session.com_baud_rate;
using Waits = std::vector<uint32_t>;
using Rates = std::vector<int32_t>;

bool portReleased()
{
    return serial_port.handle == SERIAL_NO_HANDLE && !serial_port.open &&
           serial_device_probe(READER_COM);
}
} // namespace

class ReaderDetectionTest : public QObject
{
    Q_OBJECT

private slots:
    void scanFindsTheReaderOrCostsEveryRate()
    {
        const Rates everyRate = {2400, 115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200};
        const Waits everyWait = {2000, 200, 200, 200, 200, 200, 200, 2000, 1000};
        // A silent reader, or a wrong answer, costs every rate and keeps the rate.
        const struct
        {
            int32_t readerRate;
            bool ReaderFaults::*fault;
            size_t probes, requests;
        } cases[] = {{2400, nullptr, 1, 1},
                     {9600, nullptr, 6, 1},
                     {2400, &ReaderFaults::silent, 9, 2}, // heard at 2400 only
                     {2400, &ReaderFaults::wrongEcho, 9, 2}};
        for (const auto &c : cases) {
            SimulatedPort port(READER_COM, c.readerRate, &session);
            if (c.fault)
                port.model.faults.*c.fault = true;
            QCOMPARE(serial_detect_reader(&serial_port, com_port_number, &com_baud_rate), !c.fault);
            QCOMPARE(port.reader.ratesHeard,
                     Rates(everyRate.begin(), everyRate.begin() + c.probes));
            QCOMPARE(port.sleep.waits, Waits(everyWait.begin(), everyWait.begin() + c.probes));
            QCOMPARE(port.model.requests, std::vector<std::vector<uint8_t>>(c.requests, {0xAA}));
            QVERIFY(com_baud_rate == (c.fault ? 2400 : c.readerRate) && portReleased());
        }
        // The rate found is kept: the next detection succeeds at once.
        SimulatedPort port(READER_COM, 9600, &session);
        com_baud_rate = 9600;
        QVERIFY(serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        // A missing port fails without a scan.
        com_port_number = READER_COM + 1;
        QVERIFY(!serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QCOMPARE(port.sleep.waits, Waits{200});
        QCOMPARE(port.reader.ratesHeard, Rates{9600});
        QVERIFY(com_baud_rate == 9600 && serial_port.handle == SERIAL_NO_HANDLE);
    }

    void portThatVanishesEndsTheScan()
    {
        SimulatedPort port(READER_COM, 9600, &session);
        port.sleep.onSleep = [&port](uint32_t) {
            port.reader.service();
            if (port.sleep.waits.size() == 3) // while probing at 57600
                port.ports.remove(READER_COM);
        };
        QVERIFY(!serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QCOMPARE(port.sleep.waits,
                 (Waits{2000, 200, 200, DETECT_REOPEN_PAUSE_MS, DETECT_REOPEN_PAUSE_MS}));
        QVERIFY(com_baud_rate == 2400 && serial_port.handle == SERIAL_NO_HANDLE &&
                !serial_port.open);
    }

    void portHeldForAMomentIsTriedAgain()
    {
        SimulatedPort port(READER_COM, 9600, &session);
        int held = -1;
        port.sleep.onSleep = [&](uint32_t milliseconds) {
            port.reader.service();
            if (port.sleep.waits.size() == 2) { // probing at 115200
                serial_port.open = SERIAL_PORT_CLOSED;
                serial_device_close(serial_port.handle);
                serial_port.handle = SERIAL_NO_HANDLE;
                held = serial_device_open(READER_COM);
            } else if (milliseconds == DETECT_REOPEN_PAUSE_MS) {
                serial_device_close(held);
            }
        };
        QVERIFY(serial_detect_reader(&serial_port, com_port_number, &com_baud_rate) && held >= 0);
        QCOMPARE(port.sleep.waits, (Waits{2000, 200, DETECT_REOPEN_PAUSE_MS, 200, 200, 200, 200}));
        QVERIFY(com_baud_rate == 9600 && portReleased());
    }

    void windowDetectsThroughItsSlot()
    {
        ModalResponder responder;
        auto window = makeWindow(QStringLiteral("/nonexistent/libhid_usb.so"));
        SimulatedPort port(READER_COM, 4800, &window->linkSession);
        bool found = false;
        QVERIFY(
            QMetaObject::invokeMethod(window.get(), "GetSerialParams", Q_RETURN_ARG(bool, found)));
        QVERIFY(found && window->linkSession.com_baud_rate == 4800);
    }
};

QTEST_MAIN(ReaderDetectionTest)
#include "test_reader_detection.moc"
