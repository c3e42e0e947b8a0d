// The read test window: the menu that opens it, the keys it captures, the
// serial port it watches (the pty reader), and the port it gives up.
#include "app/key_capture.h"
#include "app/read_test_window.h"
#include "app/serial_port_dialog.h"
#include "modal_responder.h"
#include "platform/serial_device.h"
#include "simulated_port.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int READER_COM = 65;
constexpr uint8_t LINE_2400_8N1 = 0x02; // setting byte 0: 2400 baud, no parity, 8 bits, 1 stop bit
enum Column
{
    TIME,
    READ,
    EXPECTED,
    CHECK
};
} // namespace

class ReadTestWindowTest : public QObject
{
    Q_OBJECT

    ModalResponder responder;
    std::unique_ptr<MainWindow> window;

    ReadTestWindow *openReadTest(bool serial)
    {
        control<QAction>(window.get(), "actionTeclado")->setChecked(!serial);
        control<QAction>(window.get(), "actionSerial")->setChecked(serial);
        control<QAction>(window.get(), "actionTesteLeitura")->trigger();
        return control<ReadTestWindow>(window.get(), "ReadTestWindow");
    }
    QTableWidget *reads(ReadTestWindow *test)
    {
        return control<QTableWidget>(test, "tableWidget_leituras");
    }
    QString cell(ReadTestWindow *test, int row, int column)
    {
        return reads(test)->item(row, column)->text();
    }
    QString state(ReadTestWindow *test) { return control<QLabel>(test, "label_estado")->text(); }
    // The form's record on a line a pseudo-terminal takes, and the reader set alike.
    void useLineOfPty(ReaderModel &reader)
    {
        ConfigRecord line = window->form.record();
        line.settings[0] = LINE_2400_8N1;
        window->form.replaceRecord(line);
        line.serialize(reader.configuration);
    }

private slots:
    void init() { window = makeWindow(QStringLiteral(SIM_HID_LIBRARY)); }
    void cleanup() { window.reset(); }

    void thirdMenuOpensOneReadTestInTheCheckedMode()
    {
        QStringList menus;
        for (QAction *menu : window->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{"Arquivo", "Dispositivo", "Ferramentas"}));
        ReadTestWindow *test = openReadTest(false);
        QVERIFY(test->isVisible() && !test->isModal());
        QCOMPARE(test->windowTitle(), QStringLiteral("Teste de leitura"));
        QCOMPARE(test->mode(), ByteNaming::Keyboard);
        // Asked for again from the form, the open one comes to the front.
        window->show();
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window.get());
        QCOMPARE(openReadTest(false), test);
        QTRY_COMPARE(QApplication::activeWindow(), test);
        QCOMPARE(window->findChildren<ReadTestWindow *>().size(), 1);
    }

    void capturesTypedKeysOneReadPerLineAndMarksWhereTheyDepart()
    {
        ReadTestWindow *test = openReadTest(false);
        QVERIFY(QTest::qWaitForWindowActive(test));
        auto *capture = control<KeyCapture>(test, "captura");
        QVERIFY(capture->hasFocus());
        // Defaults: the cheque's line without separators, then ENTER.
        QTest::keyClicks(capture, "001000110180000145800000000013");
        QTest::keyClick(capture, Qt::Key_Return);
        test->endRead();
        // A bank slip whose first separator came out as ENTER; TAB keeps the focus.
        QTest::keyClicks(capture, QString(44, QLatin1Char('1')));
        QTest::keyClick(capture, Qt::Key_Tab);
        QVERIFY(capture->hasFocus());
        QTest::keyClick(capture, Qt::Key_Shift); // no byte
        QTest::keyClick(capture, Qt::Key_Backspace);
        test->endRead();
        QCOMPARE(reads(test)->rowCount(), 2);
        QCOMPARE(cell(test, 0, READ), QStringLiteral("001000110180000145800000000013<ENTER>"));
        QCOMPARE(cell(test, 0, EXPECTED), QStringLiteral("[8][10][12]<ENTER> (cheque)"));
        QCOMPARE(cell(test, 0, CHECK), QStringLiteral("confere"));
        QCOMPARE(cell(test, 1, READ), QString(44, QLatin1Char('1')) + "<TAB><BCKSPC>");
        QCOMPARE(cell(test, 1, CHECK), QStringLiteral("esperado dado 1 de 10, recebido BCKSPC "
                                                      "(posição 46)"));
        QVERIFY(QTime::fromString(cell(test, 1, TIME), QStringLiteral("HH:mm:ss.zzz")).isValid());

        // Copy and save give the same lines; clear empties the list.
        const QString text = test->readsText();
        QCOMPARE(text.count(QLatin1Char('\n')), 2);
        QVERIFY(text.startsWith(cell(test, 0, TIME) + "\t001000110180000145800000000013"));
        control<QPushButton>(test, "pushButton_copiar")->click();
        QCOMPARE(QApplication::clipboard()->text(), text);
        QTemporaryDir dir;
        QVERIFY(test->saveReads(dir.filePath("leituras.txt")));
        QFile saved(dir.filePath("leituras.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), text);
        QVERIFY(!test->saveReads(dir.filePath("missing/leituras.txt")));
        control<QPushButton>(test, "pushButton_limpar")->click();
        QCOMPARE(reads(test)->rowCount(), 0);
    }

    void serialViewShowsWhatThePtyReaderSendsAndGivesThePortUp()
    {
        SimulatedPort port(READER_COM, 2400, &window->linkSession);
        useLineOfPty(port.model);
        ReadTestWindow *test = openReadTest(true);
        QCOMPARE(test->mode(), ByteNaming::Serial);
        QVERIFY2(test->portOpen(), qPrintable(state(test)));
        QCOMPARE(state(test),
                 QString::fromUtf8("Serial: COM65 aberta, Baudrate 2400, 8 Bits, "
                                   "Paridade Nenhum, 1 Stop Bit; aguardando leituras."));
        // Held exclusively while open.
        QCOMPARE(serial_device_open(READER_COM), SERIAL_NO_DEVICE);

        bool garbled = true;
        QVERIFY(port.reader.sendDocument(&garbled, SIM_BANK_SLIP) > 0 && !garbled);
        QTRY_COMPARE(reads(test)->rowCount(), 1);
        QVERIFY(port.reader.sendDocument(&garbled, SIM_CHEQUE) > 0 && !garbled);
        QTRY_COMPARE(reads(test)->rowCount(), 2);
        QVERIFY(cell(test, 0, READ)
                    .startsWith(QStringLiteral("<STX>") + SAMPLE_BANK_SLIP_BARCODE + "<TAB>"));
        QCOMPARE(cell(test, 0, EXPECTED),
                 QString::fromUtf8("<STX>[44]<TAB>[10]<TAB><ETX>[BCC] (boleto bancário)"));
        QCOMPARE(cell(test, 0, CHECK), QStringLiteral("confere"));
        QCOMPARE(cell(test, 1, EXPECTED), QStringLiteral("<STX>[8][10][12]<ETX>[BCC] (cheque)"));
        QCOMPARE(cell(test, 1, CHECK), QStringLiteral("confere"));

        // A command takes the port and gets its answer; the read test takes it back.
        QMetaObject::invokeMethod(window.get(), "on_pushButton_getConfig_clicked");
        QCOMPARE(statusText(window.get()), QString::fromUtf8("Concluído"));
        QVERIFY(!test->portOpen());
        QVERIFY(state(test).contains(QStringLiteral("COM65 foi liberada para a janela principal")));
        control<QPushButton>(test, "pushButton_abrirPorta")->click();
        QVERIFY(test->portOpen());

        // Keyboard mode and closing give the port up.
        test->setMode(ByteNaming::Keyboard);
        QVERIFY(!test->portOpen());
        test->setMode(ByteNaming::Serial);
        QVERIFY(test->portOpen());

        // The port dialog lists the port the read test held, and finds it free.
        QStringList listed;
        responder.setDialogHandler([&](QDialog *dialog) {
            if (auto *ports = qobject_cast<SerialPortDialog *>(dialog))
                for (int i = 0; i < ports->portList()->count(); ++i)
                    listed << ports->portList()->itemText(i);
            dialog->reject();
        });
        control<QAction>(window.get(), "actionSerial")->trigger();
        responder.setDialogHandler(nullptr);
        QVERIFY2(listed.contains(QStringLiteral("COM65")), qPrintable(listed.join(' ')));
        QVERIFY(!test->portOpen());
        test->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window->findChildren<ReadTestWindow *>().isEmpty());
        const int device = serial_device_open(READER_COM);
        QVERIFY(device != SERIAL_NO_DEVICE);
        serial_device_close(device);
    }

    void serialViewSaysWhyItHasNoPort()
    {
        // The defaults' 7 bits with odd parity: a pseudo-terminal refuses them.
        SimulatedPort port(READER_COM, 2400, &window->linkSession);
        ReadTestWindow *test = openReadTest(true);
        QVERIFY(!test->portOpen());
        QVERIFY(state(test).contains(QStringLiteral("não aceitou Baudrate 2400, 7 Bits")));
        window->linkSession.com_port_number = READER_COM + 1;
        useLineOfPty(port.model);
        QVERIFY(!test->openPort());
        QCOMPARE(state(test), QString::fromUtf8("Serial: a porta COM66 não existe ou está em uso "
                                                "por outro programa."));
        window->linkSession.com_port_number = READER_COM;
        QVERIFY2(test->openPort() && test->portOpen(), qPrintable(state(test)));
    }
};

QTEST_MAIN(ReadTestWindowTest)
#include "test_read_test_window.moc"
