// What the window adds to the reader commands (checked in test_reader_commands):
// the fields, the status bar, the boxes, the wait cursor, the digit filter, the link.
#include "modal_responder.h"
#include "recording_sleep.h"
#include "sim_hid.h"
#include "simulated_port.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {
using Bytes = std::vector<uint8_t>;
constexpr int READER_COM = 65;
const QString DONE = QString::fromUtf8("Concluído");
const ShownBox notFound{"critical", "Erro", "Dispositivo não encontrado"};
const ShownBox communicationError{"critical", "Erro", "Erro de comunicação"};

// A name, then the default settings with SKM on and the CDC interface chosen or not.
void giveReaderConfiguration(ReaderModel &reader, const char *name, bool cdc)
{
    memcpy(reader.configuration, name, CONFIG_NAME_SIZE);
    memcpy(reader.configuration + CONFIG_NAME_SIZE, DEFAULT_SETTINGS, CONFIG_SETTINGS_SIZE);
    reader.configuration[CONFIG_NAME_SIZE + 3] = cdc ? 0xC4 : 0x44;
    reader.configuration[CONFIG_NAME_SIZE + 1] |= 0x08;
}

QByteArray readerRecord(const ReaderModel &reader)
{
    return QByteArray(reinterpret_cast<const char *>(reader.configuration), CONFIG_SERIALIZED_SIZE);
}
const QEvent::Type POSTED = static_cast<QEvent::Type>(QEvent::User + 1);

struct Probe : QWidget
{
    using QWidget::QWidget;
    int paints = 0, inputs = 0, posted = 0;
    bool event(QEvent *event) override
    {
        const QEvent::Type type = event->type();
        paints += type == QEvent::Paint;
        posted += type == POSTED;
        inputs += type == QEvent::KeyPress || type == QEvent::MouseButtonPress;
        return QWidget::event(event);
    }
};
} // namespace

class CommandsWindowTest : public QObject
{
    Q_OBJECT

    ModalResponder responder;              // outlives every window
    std::unique_ptr<RecordingSleep> sleep; // one per case: a port's own ends with it
    std::unique_ptr<MainWindow> window;
    SimHid *sim = nullptr;

    QLineEdit *field(const char *name) { return control<QLineEdit>(window.get(), name); }
    void run(const char *slot) { QMetaObject::invokeMethod(window.get(), slot); }
    QString status() { return statusText(window.get()); }
    void chooseSerial(bool serial)
    {
        control<QAction>(window.get(), "actionTeclado")->setChecked(!serial);
        control<QAction>(window.get(), "actionSerial")->setChecked(serial);
    }
    bool serialChosen() { return control<QAction>(window.get(), "actionSerial")->isChecked(); }

private slots:
    void init()
    {
        responder.boxes.clear();
        sleep.reset();
        window = makeWindow(QStringLiteral(SIM_HID_LIBRARY));
        sleep = std::make_unique<RecordingSleep>();
        sim = simHid();
        sim->reset();
    }

    void eachCommandFillsItsFieldAndSaysDoneRestoreReadsBack()
    {
        const char *cases[][4] = {
            // slot, field, before, after
            {"on_pushButton_firmware_clicked", "lineEdit_firmware", "", "VLX2 v3.1\xC3\xA9"},
            {"on_pushButton_getSerial_clicked", "lineEdit_serial", "", "654321"},
            {"on_pushButton_wrtSerial_clicked", "lineEdit_serial", "999999", "100000"},
            {"on_pushButton_getConfig_clicked", "lineEdit_cliente", "", "LOJA0001"},
        };
        for (const auto &[slot, name, before, after] : cases) {
            sim->reset();
            sim->reader.firmwareVersion = "VLX2 v3.1\xE9"; // Latin-1 é
            memcpy(sim->reader.serialNumber, "654321", 7);
            giveReaderConfiguration(sim->reader, "LOJA0001", false);
            field(name)->setText(QString::fromLatin1(before));
            run(slot);
            QCOMPARE(field(name)->text(), QString::fromUtf8(after));
            QVERIFY2(status() == DONE && responder.boxes.isEmpty() &&
                         !QApplication::overrideCursor(),
                     slot);
        }
        QCOMPARE(serializedRecord(), readerRecord(sim->reader));
        QVERIFY(control<QAbstractButton>(window.get(), "checkBox_SKM")->isChecked() &&
                !serialChosen());

        // Restoring reads the factory configuration back.
        sim->reset();
        giveReaderConfiguration(sim->reader, "LOJA0001", false);
        memcpy(sim->reader.factoryConfiguration, "FABRICA\0", CONFIG_NAME_SIZE);
        window->statusBar()->showMessage(QStringLiteral("antes"));
        QString statusAtPause;
        sleep->onSleep = [&](uint32_t) { statusAtPause = status(); };
        run("on_actionDefault_triggered");
        QCOMPARE(sim->reader.requests, (std::vector<Bytes>{{0xAB}, {0xEE}}));
        QCOMPARE(statusAtPause, QStringLiteral("antes")); // no "Detectando leitor" first
        QCOMPARE(serializedRecord().left(CONFIG_NAME_SIZE), QByteArray("FABRICA\0", 8));
        QCOMPARE(status(), DONE);
        QVERIFY(responder.boxes.isEmpty());

        // Without a reader: one box, nothing read afterwards.
        sim->reset();
        sim->reader.faults.absent = true;
        run("on_actionDefault_triggered");
        QCOMPARE(responder.boxes, QVector<ShownBox>{notFound});
        QCOMPARE(sim->inits.size(), size_t(10));
        QCOMPARE(status(), notFound.text);

        // The reader leaves during the pause: the read's box, then "Concluído".
        sim->reset();
        responder.boxes.clear();
        sleep->onSleep = [&](uint32_t ms) {
            if (ms == FACTORY_RESTORE_WAIT_MS)
                sim->reader.faults.absent = true;
        };
        const QByteArray before = serializedRecord();
        run("on_actionDefault_triggered");
        QCOMPARE(responder.boxes, QVector<ShownBox>{notFound});
        QCOMPARE(status(), DONE);
        QCOMPARE(serializedRecord(), before);
    }

    void failuresShowOneBoxAndLeaveTheFieldThatFiltersDigits()
    {
        // Faults: 'a' reader absent, 'e' wrong echo, 'c' CDC configuration, 'f' close fails.
        const std::tuple<const char *, const char *, char, ShownBox> cases[] = {
            // slot, serial number field, fault, box
            {"on_pushButton_getSerial_clicked", "111111", 'a', notFound},
            {"on_pushButton_getSerial_clicked", "111111", 'e', communicationError},
            {"on_pushButton_wrtSerial_clicked",
             "12345",
             '-',
             {"warning", "Aviso!", "Número de série deve possuir 6 digitos"}},
            {"on_pushButton_config_clicked",
             "",
             'c',
             {"warning", "Aviso", "Dispositivo tipo CDC detectado"}},
            {"on_actionDFU_triggered", "", 'e', communicationError},
            // No box: the status keeps the progress text.
            {"on_pushButton_getSerial_clicked", "111111", 'f', {"", "", "Detectando leitor"}},
        };
        for (const auto &[slot, serialText, fault, box] : cases) {
            sim->reset();
            responder.boxes.clear();
            sim->reader.faults.absent = fault == 'a';
            sim->reader.faults.wrongEcho = fault == 'e';
            sim->failClose = fault == 'f';
            if (fault == 'c')
                giveReaderConfiguration(sim->reader, "CAIXA-02", true);
            field("lineEdit_serial")->setText(QString::fromLatin1(serialText));
            QString statusDuringWait;
            bool cursorDuringWait = false;
            sleep->onSleep = [&](uint32_t) {
                statusDuringWait = status();
                cursorDuringWait = QApplication::overrideCursor() != nullptr;
            };
            run(slot);
            const auto expected = box.kind.isEmpty() ? QVector<ShownBox>{} : QVector{box};
            QCOMPARE(responder.boxes, expected);
            QCOMPARE(status(), box.text);
            QCOMPARE(field("lineEdit_serial")->text(), QString::fromLatin1(serialText));
            QVERIFY(!QApplication::overrideCursor());
            if (box == notFound) // the wait cursor and the progress text while it retries
                QVERIFY(cursorDuringWait && statusDuringWait == "Detectando leitor");
        }

        QLineEdit *serial = field("lineEdit_serial");
        serial->setText(QStringLiteral("123"));
        QTest::keyClick(serial, Qt::Key_A);
        QCOMPARE(serial->text(), QStringLiteral("123"));
        for (auto [typed, kept] :
             {std::pair{"12x45", "12"}, {"7 ", "7"}, {"7-", "7"}, {"1234567", "123456"}}) {
            serial->setText(QString::fromLatin1(typed));
            QCOMPARE(serial->text(), QString::fromLatin1(kept));
        }
    }

    void theMenuChoosesTheLink()
    {
        SimulatedPort port(READER_COM, 2400, &window->linkSession);
        port.model.firmwareVersion = "VLX2 serial";
        giveReaderConfiguration(port.model, "CAIXA-02", true);
        chooseSerial(true);
        run("on_pushButton_firmware_clicked");
        QCOMPARE(field("lineEdit_firmware")->text(), QStringLiteral("VLX2 serial"));
        // A CDC reader is written on serial, with the form's edited record.
        control<QAbstractButton>(window.get(), "checkBox_SKM")->click();
        const QByteArray record = serializedRecord();
        run("on_pushButton_config_clicked");
        QCOMPARE(status(), DONE);
        QCOMPARE(readerRecord(port.model), record);
        QCOMPARE(serializedRecord(), record);
        QCOMPARE(port.model.requests,
                 (std::vector<Bytes>{{0xAA}, {0xAA}, {0xAA}, port.model.requests.back()}));
        QCOMPARE(port.model.requests.back().front(), uint8_t(0xDD));
        QVERIFY(responder.boxes.isEmpty());

        sim->reset();
        chooseSerial(false);
        run("on_pushButton_getSerial_clicked");
        QCOMPARE(sim->reader.requests, std::vector<Bytes>{{0xCC}});
        run("on_pushButton_config_clicked");
        QCOMPARE(readerRecord(sim->reader), record);

        // A configuration read with the CDC interface moves the link to serial.
        giveReaderConfiguration(sim->reader, "CAIXA-02", true);
        run("on_pushButton_getConfig_clicked");
        QVERIFY(serialChosen());
    }

    // While a command waits on the reader, the window paints and serves what is
    // posted to it, but no user input and no second command reach it, and a
    // close waits for the command's end.
    void commandWaitsServeTheWindowButNotItsInput()
    {
        SimulatedPort port(READER_COM, 2400, &window->linkSession);
        chooseSerial(true);
        auto *probe = new Probe(window->centralWidget());
        probe->setGeometry(0, 0, 20, 20);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();

        auto *configButton = control<QPushButton>(window.get(), "pushButton_config");
        int configPresses = 0;
        connect(configButton, &QPushButton::pressed, [&] { ++configPresses; });
        int paintsBefore = 0;
        bool servedDuringWait = false;
        port.sleep.onSleep = [&](uint32_t) {
            port.reader.service();
            if (port.sleep.waits.size() == 1) {
                paintsBefore = probe->paints;
                probe->update();
                QCoreApplication::postEvent(probe, new QEvent(POSTED));
                QCoreApplication::postEvent(
                    probe, new QKeyEvent(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5"));
                const QPointF at = QRectF(configButton->rect()).center();
                for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                    QCoreApplication::postEvent(
                        configButton,
                        new QMouseEvent(type, at, configButton->mapToGlobal(at), Qt::LeftButton,
                                        Qt::LeftButton, Qt::NoModifier));
                QMetaObject::invokeMethod(control<QPushButton>(window.get(), "pushButton_firmware"),
                                          "click", Qt::QueuedConnection);
                QCoreApplication::postEvent(window.get(), new QCloseEvent);
                return;
            }
            // All of it came up at the start of this wait.
            servedDuringWait = probe->posted == 1 && probe->paints > paintsBefore &&
                               probe->inputs == 0 && configPresses == 0 && window->isVisible() &&
                               QApplication::overrideCursor();
        };

        control<QPushButton>(window.get(), "pushButton_getSerial")->click();

        QVERIFY(servedDuringWait);
        QCOMPARE(control<QLineEdit>(window.get(), "lineEdit_serial")->text(),
                 QString::fromLatin1(port.model.serialNumber));
        QVERIFY(control<QLineEdit>(window.get(), "lineEdit_firmware")->text().isEmpty() &&
                responder.boxes.isEmpty());
        // The close asked for during the command is carried out at its end; no input came late.
        QVERIFY(!window->isVisible() && probe->inputs == 0);
    }
};

QTEST_MAIN(CommandsWindowTest)
#include "test_commands_window.moc"
