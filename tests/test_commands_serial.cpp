// The reader commands driven through the real window over the serial link,
// with the simulated reader on a pseudo-terminal answering in place of the
// configurator's waits.
#include "command_expectations.h"
#include "link/serial_link.h"
#include "modal_responder.h"
#include "platform/serial_device.h"
#include "sim_hid.h"
#include "simulated_port.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <unistd.h>

namespace {
constexpr int READER_COM = 65;
using Waits = std::vector<uint32_t>;

// 02 L payload 03 check, as a reader frames its answer.
Bytes frame(const Bytes &payload)
{
    Bytes out{0x02, static_cast<uint8_t>(payload.size())};
    uint8_t check = static_cast<uint8_t>(payload.size()) ^ 0x03;
    for (uint8_t b : payload) {
        out.push_back(b);
        check ^= b;
    }
    out.push_back(0x03);
    out.push_back(check);
    return out;
}

} // namespace

class CommandsSerialTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ModalResponder> responder;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<SimulatedPort> port;

    QLineEdit *field(const char *name) { return control<QLineEdit>(window.get(), name); }
    void click(const char *button) { control<QPushButton>(window.get(), button)->click(); }
    QString status() { return statusText(window.get()); }
    std::vector<Bytes> &requests() { return port->model.requests; }

    bool portReleased()
    {
        return window->linkSession.serial_port.handle == SERIAL_NO_HANDLE &&
               !window->linkSession.serial_port.open && serial_device_probe(READER_COM);
    }

    // The reader answers detection itself, then the command with these bytes.
    void answerCommandWith(const Bytes &answer)
    {
        auto waits = std::make_shared<int>(0);
        port->sleep.onSleep = [this, answer, waits](uint32_t) {
            if ((*waits)++ == 0) {
                port->reader.service();
                return;
            }
            uint8_t request[256];
            while (read(port->reader.masterDevice(), request, sizeof request) > 0) {
            }
            if (!answer.empty())
                QVERIFY(write(port->reader.masterDevice(), answer.data(), answer.size()) ==
                        ssize_t(answer.size()));
        };
    }

private slots:
    void init()
    {
        responder = std::make_unique<ModalResponder>();
        window = makeWindow(QStringLiteral(SIM_HID_LIBRARY));
        simHid()->reset();
        port = std::make_unique<SimulatedPort>(READER_COM, 2400, &window->linkSession);
        control<QAction>(window.get(), "actionTeclado")->setChecked(false);
        control<QAction>(window.get(), "actionSerial")->setChecked(true);
    }

    void cleanup()
    {
        window.reset();
        port.reset();
        responder.reset();
    }

    void firmwareIsAskedAfterTheDetectionProbe()
    {
        port->model.firmwareVersion = "VLX2 serial";
        click("pushButton_firmware");
        QCOMPARE(requests(), (std::vector<Bytes>{{0xAA}, {0xAA}}));
        QCOMPARE(port->sleep.waits, (Waits{2000, 2000}));
        QCOMPARE(field("lineEdit_firmware")->text(), QStringLiteral("VLX2 serial"));
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
        QVERIFY(responder->boxes.isEmpty());
        QVERIFY(portReleased());
        QVERIFY(simHid()->inits.empty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void serialNumberIsReadAndWritten()
    {
        memcpy(port->model.serialNumber, "424242", 7);
        click("pushButton_getSerial");
        QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("424242"));

        field("lineEdit_serial")->setText(QStringLiteral("000123"));
        QMetaObject::invokeMethod(window.get(), "on_pushButton_wrtSerial_clicked");
        QCOMPARE(requests().back(), bytes("\xBB"
                                          "000123"));
        QCOMPARE(QByteArray(port->model.serialNumber), QByteArray("000123"));
        QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("000124"));
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
        QVERIFY(portReleased());
    }

    void wrongLengthIsReportedOnceThePortIsOpen()
    {
        field("lineEdit_serial")->setText(QStringLiteral("12345"));
        QMetaObject::invokeMethod(window.get(), "on_pushButton_wrtSerial_clicked");
        QCOMPARE(responder->boxes, QVector<ShownBox>{serialLength});
        QCOMPARE(requests(), std::vector<Bytes>{{0xAA}}); // the probe only
        QVERIFY(portReleased());
    }

    void silentReaderIsNotFoundAfterTheWholeScan()
    {
        port->model.faults.silent = true;
        click("pushButton_firmware");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
        QCOMPARE(port->sleep.waits, (Waits{2000, 200, 200, 200, 200, 200, 200, 2000, 1000}));
        QCOMPARE(window->linkSession.com_baud_rate, 2400);
        QCOMPARE(status(), notFound.text);
        QVERIFY(portReleased());
    }

    void missingPortIsNotFoundAtOnce()
    {
        window->linkSession.com_port_number = READER_COM + 1;
        click("pushButton_getSerial");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
        QVERIFY(port->sleep.waits.empty());
    }

    void badAnswersAreCommunicationErrors()
    {
        const Bytes answers[] = {
            frame({0xCD, '1', '2'}),             // another command's echo
            {0x02, 0x02, 0xCC, '1', 0x04, 0x00}, // broken trailer
            {0x55, 0x55},                        // bytes but no frame: byte 0 stays 0
            {},                                  // nothing at all
        };
        for (const Bytes &answer : answers) {
            responder->boxes.clear();
            requests().clear();
            field("lineEdit_serial")->setText(QStringLiteral("111111"));
            answerCommandWith(answer);
            click("pushButton_getSerial");
            QCOMPARE(responder->boxes, QVector<ShownBox>{communicationError});
            QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("111111"));
            QCOMPARE(status(), communicationError.text);
            QVERIFY(portReleased());
            // The next command starts again with detection.
            QCOMPARE(requests().front(), Bytes{0xAA});
        }
        port->sleep.onSleep = [this](uint32_t) { port->reader.service(); };
        requests().clear();
        click("pushButton_getSerial");
        QCOMPARE(requests(), (std::vector<Bytes>{{0xAA}, {0xCC}}));
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
    }

    void answerTextsAreCutAndFiltered()
    {
        answerCommandWith(frame(bytes("\xCC"
                                      "12345678")));
        click("pushButton_getSerial");
        QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("123456"));

        answerCommandWith(frame(bytes("\xCC"
                                      "12a4")));
        click("pushButton_getSerial");
        QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("12"));

        answerCommandWith(frame({0xCC})); // shorter than expected: accepted, empty
        click("pushButton_getSerial");
        QCOMPARE(field("lineEdit_serial")->text(), QString());
        QVERIFY(responder->boxes.isEmpty());
    }

    void switchingLinksMovesTheNextCommand()
    {
        control<QAction>(window.get(), "actionSerial")->setChecked(false);
        control<QAction>(window.get(), "actionTeclado")->setChecked(true);
        click("pushButton_firmware");
        QVERIFY(requests().empty());
        QCOMPARE(simHid()->reader.requests, std::vector<Bytes>{{0xAA}});
    }
};

QTEST_MAIN(CommandsSerialTest)
#include "test_commands_serial.moc"
