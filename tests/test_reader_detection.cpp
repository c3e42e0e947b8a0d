#include "commands/link_session.h"
#include "link/serial_detection.h"
#include "link/serial_link.h"
#include "modal_responder.h"
#include "platform/serial_device.h"
#include "simulated_port.h"
#include "window_fixture.h"

#include <QTest>

namespace {
constexpr int READER_COM = 65;

// The link session of these tests, under the names the link knows it by.
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
    void readerAtTheCurrentRateAnswersTheFirstProbe()
    {
        SimulatedPort port(READER_COM, 2400, &session);
        QVERIFY(serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QCOMPARE(port.sleep.waits, Waits{2000});
        QCOMPARE(port.reader.ratesHeard, Rates{2400});
        QCOMPARE(port.model.requests, std::vector<std::vector<uint8_t>>{{0xAA}});
        QCOMPARE(com_baud_rate, 2400);
        QVERIFY(portReleased());
    }

    void scanFindsTheReaderAndKeepsItsRate()
    {
        SimulatedPort port(READER_COM, 9600, &session);
        QVERIFY(serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QCOMPARE(port.reader.ratesHeard, (Rates{2400, 115200, 57600, 38400, 19200, 9600}));
        QCOMPARE(port.sleep.waits, (Waits{2000, 200, 200, 200, 200, 200}));
        QCOMPARE(port.model.requests.size(), size_t{1});
        QCOMPARE(com_baud_rate, 9600);
        QVERIFY(portReleased());

        port.sleep.waits.clear();
        QVERIFY(serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QCOMPARE(port.sleep.waits, Waits{200});
        QCOMPARE(port.reader.ratesHeard.back(), 9600);
    }

    void missingPortFailsWithoutAScan()
    {
        SimulatedPort port(READER_COM, 2400, &session);
        com_port_number = READER_COM + 1;
        QVERIFY(!serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QVERIFY(port.sleep.waits.empty());
        QVERIFY(port.reader.ratesHeard.empty());
        QCOMPARE(com_baud_rate, 2400);
        QCOMPARE(serial_port.handle, SERIAL_NO_HANDLE);
    }

    void silentReaderCostsEveryRateAndKeepsTheRate()
    {
        SimulatedPort port(READER_COM, 2400, &session);
        port.model.faults.silent = true;
        QVERIFY(!serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QCOMPARE(port.reader.ratesHeard,
                 (Rates{2400, 115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200}));
        QCOMPARE(port.sleep.waits, (Waits{2000, 200, 200, 200, 200, 200, 200, 2000, 1000}));
        QCOMPARE(port.sleep.total(), uint64_t{6200});
        QCOMPARE(port.model.requests.size(), size_t{2}); // heard at 2400 only
        QCOMPARE(com_baud_rate, 2400);
        QVERIFY(portReleased());
    }

    void wrongAnswerIsNoAnswer()
    {
        SimulatedPort port(READER_COM, 2400, &session);
        port.model.faults.wrongEcho = true;
        QVERIFY(!serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QCOMPARE(port.sleep.waits.size(), size_t{9});
        QCOMPARE(com_baud_rate, 2400);
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
        QCOMPARE(com_baud_rate, 2400);
        QCOMPARE(serial_port.handle, SERIAL_NO_HANDLE);
        QVERIFY(!serial_port.open);
    }

    void portHeldForAMomentIsTriedAgain()
    {
        SimulatedPort port(READER_COM, 9600, &session);
        int held = -1;
        port.sleep.onSleep = [&](uint32_t milliseconds) {
            port.reader.service();
            if (port.sleep.waits.size() == 2) { // probing at 115200
                // Another program takes the port as soon as it is free.
                serial_port.open = 0;
                serial_device_close(serial_port.handle);
                serial_port.handle = SERIAL_NO_HANDLE;
                held = serial_device_open(READER_COM);
            } else if (milliseconds == DETECT_REOPEN_PAUSE_MS) {
                serial_device_close(held);
            }
        };
        QVERIFY(serial_detect_reader(&serial_port, com_port_number, &com_baud_rate));
        QVERIFY(held >= 0);
        QCOMPARE(port.sleep.waits, (Waits{2000, 200, DETECT_REOPEN_PAUSE_MS, 200, 200, 200, 200}));
        QCOMPARE(com_baud_rate, 9600);
        QVERIFY(portReleased());
    }

    void windowDetectsThroughItsSlot()
    {
        ModalResponder responder;
        auto window = makeWindow(QStringLiteral("/nonexistent/libhid_usb.so"));
        SimulatedPort port(READER_COM, 4800, &window->linkSession);
        bool found = false;
        QVERIFY(
            QMetaObject::invokeMethod(window.get(), "GetSerialParams", Q_RETURN_ARG(bool, found)));
        QVERIFY(found);
        QCOMPARE(window->linkSession.com_baud_rate, 4800);
        QVERIFY(window->linkSession.serial_port.handle == SERIAL_NO_HANDLE &&
                !window->linkSession.serial_port.open && serial_device_probe(READER_COM));
    }
};

QTEST_MAIN(ReaderDetectionTest)
#include "test_reader_detection.moc"
