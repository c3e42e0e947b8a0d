// The reader commands driven through the real window, over the HID link with
// the simulated HID access library behind it.
#include "command_expectations.h"
#include "modal_responder.h"
#include "recording_sleep.h"
#include "sim_hid.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class CommandsHidTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ModalResponder> responder;
    std::unique_ptr<RecordingSleep> sleep;
    std::unique_ptr<MainWindow> window;
    SimHid *sim = nullptr;

    QLineEdit *field(const char *name) { return control<QLineEdit>(window.get(), name); }
    void click(const char *button) { control<QPushButton>(window.get(), button)->click(); }
    void invoke(const char *slot) { QMetaObject::invokeMethod(window.get(), slot); }
    QString status() { return statusText(window.get()); }

private slots:
    void init()
    {
        responder = std::make_unique<ModalResponder>();
        window = makeWindow(QStringLiteral(SIM_HID_LIBRARY));
        QVERIFY(responder->boxes.isEmpty());
        sim = simHid();
        sim->reset();
        sleep = std::make_unique<RecordingSleep>();
    }

    void cleanup()
    {
        sleep.reset();
        window.reset();
        responder.reset();
    }

    void firmwareVersionFillsTheField()
    {
        sim->reader.firmwareVersion = "VLX2 v3.1\xE9"; // Latin-1 é
        click("pushButton_firmware");
        QCOMPARE(sim->reader.requests, std::vector<Bytes>{{0xAA}});
        QCOMPARE(Bytes(sim->writes.at(0).begin(), sim->writes.at(0).begin() + 6),
                 (Bytes{0x00, 0x02, 0x01, 0xAA, 0x03, 0xA8}));
        QCOMPARE(field("lineEdit_firmware")->text(), QString::fromUtf8("VLX2 v3.1é"));
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
        QVERIFY(responder->boxes.isEmpty());
        QCOMPARE(sim->closeCalls, 1);
        QVERIFY(sleep->waits.empty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void emptyFirmwareAnswerEmptiesTheField()
    {
        field("lineEdit_firmware")->setText(QStringLiteral("antiga"));
        sim->reader.firmwareVersion.clear();
        click("pushButton_firmware");
        QCOMPARE(field("lineEdit_firmware")->text(), QString());
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
    }

    void serialNumberIsReadIntoTheField()
    {
        memcpy(sim->reader.serialNumber, "654321", 7);
        click("pushButton_getSerial");
        QCOMPARE(sim->reader.requests, std::vector<Bytes>{{0xCC}});
        QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("654321"));
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
    }

    void writingTheSerialNumberLeavesTheNextOne()
    {
        field("lineEdit_serial")->setText(QStringLiteral("000123"));
        invoke("on_pushButton_wrtSerial_clicked");
        QCOMPARE(sim->reader.requests, std::vector<Bytes>{bytes("\xBB"
                                                                "000123")});
        QCOMPARE(QByteArray(sim->reader.serialNumber), QByteArray("000123"));
        QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("000124"));
        QCOMPARE(status(), QString::fromUtf8("Concluído"));

        field("lineEdit_serial")->setText(QStringLiteral("999999"));
        invoke("on_pushButton_wrtSerial_clicked");
        QCOMPARE(sim->reader.requests.back(), bytes("\xBB"
                                                    "999999"));
        QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("100000"));
    }

    void serialNumberOfWrongLengthIsRefusedOnceTheLinkIsOpen()
    {
        for (const char *text : {"", "12345"}) {
            responder->boxes.clear();
            sim->reset();
            field("lineEdit_serial")->setText(QString::fromLatin1(text));
            invoke("on_pushButton_wrtSerial_clicked");
            QCOMPARE(responder->boxes, QVector<ShownBox>{serialLength});
            QVERIFY(!sim->inits.empty()); // the link was opened first
            QVERIFY(sim->writes.empty());
            QCOMPARE(status(), serialLength.text);
            QCOMPARE(field("lineEdit_serial")->text(), QString::fromLatin1(text));
        }
        // With no reader, the length is never mentioned.
        responder->boxes.clear();
        sim->reader.faults.absent = true;
        invoke("on_pushButton_wrtSerial_clicked");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
    }

    void digitFilterKeepsTheDigitsBeforeTheFirstOther()
    {
        QLineEdit *serial = field("lineEdit_serial");
        serial->setText(QStringLiteral("123"));
        QTest::keyClick(serial, Qt::Key_A);
        QCOMPARE(serial->text(), QStringLiteral("123"));
        serial->setText(QStringLiteral("12x45"));
        QCOMPARE(serial->text(), QStringLiteral("12"));
        for (const char *typed : {"7 ", "7-"}) {
            serial->setText(QString::fromLatin1(typed));
            QCOMPARE(serial->text(), QStringLiteral("7"));
        }
        serial->setText(QStringLiteral("1234567"));
        QCOMPARE(serial->text(), QStringLiteral("123456"));
        QVERIFY(responder->boxes.isEmpty());
    }

    void noReaderGivesNotFoundAfterFiveAttempts()
    {
        sim->reader.faults.absent = true;
        field("lineEdit_firmware")->setText(QStringLiteral("antiga"));
        QString statusDuringWait;
        bool cursorDuringWait = false;
        sleep->onSleep = [&](uint32_t) {
            statusDuringWait = status();
            cursorDuringWait = QApplication::overrideCursor() != nullptr;
        };
        click("pushButton_firmware");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
        QCOMPARE(status(), notFound.text);
        QCOMPARE(sleep->waits, (std::vector<uint32_t>(5, 1000)));
        QCOMPARE(sim->inits.size(), size_t(10));
        QCOMPARE(statusDuringWait, QStringLiteral("Detectando leitor"));
        QVERIFY(cursorDuringWait);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(field("lineEdit_firmware")->text(), QStringLiteral("antiga"));
    }

    void badAnswersAreCommunicationErrors()
    {
        auto wrongEcho = [](ReaderFaults &f) { f.wrongEcho = true; };
        auto brokenTrailer = [](ReaderFaults &f) { f.brokenTrailer = true; };
        auto wrongCheck = [](ReaderFaults &f) { f.wrongCheck = true; };
        auto silent = [](ReaderFaults &f) { f.silent = true; };
        auto empty = [](ReaderFaults &f) { f.emptyPayload = true; };
        for (auto fault : std::initializer_list<void (*)(ReaderFaults &)>{
                 wrongEcho, brokenTrailer, wrongCheck, silent, empty}) {
            sim->reset();
            responder->boxes.clear();
            fault(sim->reader.faults);
            memcpy(sim->reader.serialNumber, "777777", 7);
            field("lineEdit_serial")->setText(QStringLiteral("111111"));
            click("pushButton_getSerial");
            QCOMPARE(responder->boxes, QVector<ShownBox>{communicationError});
            QCOMPARE(status(), communicationError.text);
            QCOMPARE(field("lineEdit_serial")->text(), QStringLiteral("111111"));
            QCOMPARE(sim->closeCalls, 0); // the device is left for the next open
        }
    }

    void shortAnswerIsAcceptedWithZeros()
    {
        sim->reader.faults.shortAnswer = 1; // just the command byte
        field("lineEdit_serial")->setText(QStringLiteral("111111"));
        click("pushButton_getSerial");
        QVERIFY(responder->boxes.isEmpty());
        QCOMPARE(field("lineEdit_serial")->text(), QString());
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
    }

    void failedCloseEndsSilently()
    {
        sim->failClose = true;
        click("pushButton_firmware");
        QVERIFY(responder->boxes.isEmpty());
        QCOMPARE(status(), QStringLiteral("Detectando leitor"));
        QCOMPARE(field("lineEdit_firmware")->text(), QString());
        QCOMPARE(sim->closeCalls, 1);
    }

    void firmwareUpdateModeAlwaysUsesHid()
    {
        control<QAction>(window.get(), "actionTeclado")->setChecked(false);
        control<QAction>(window.get(), "actionSerial")->setChecked(true);
        invoke("on_actionDFU_triggered");
        QCOMPARE(sim->reader.requests, std::vector<Bytes>{{0xFF}});
        QVERIFY(sim->reader.dfuMode);
        QCOMPARE(status(), QStringLiteral("Leitor em modo DFU"));
        QVERIFY(responder->boxes.isEmpty());

        // The reader has left: the next attempt finds nothing on HID.
        invoke("on_actionDFU_triggered");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
    }

    void firmwareUpdateModeRefusesAnotherEcho()
    {
        sim->reader.faults.wrongEcho = true;
        invoke("on_actionDFU_triggered");
        QCOMPARE(responder->boxes, QVector<ShownBox>{communicationError});
        QCOMPARE(status(), communicationError.text);
    }
};

QTEST_MAIN(CommandsHidTest)
#include "test_commands_hid.moc"
