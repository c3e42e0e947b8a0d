// Reading, writing and restoring the reader's configuration through the real
// window, over both links.
#include "command_expectations.h"
#include "config/config_record.h"
#include "modal_responder.h"
#include "sim_hid.h"
#include "simulated_port.h"
#include "window_fixture.h"

#include "link/serial_link.h"
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {
constexpr int READER_COM = 65;

QByteArray bytesOf(const uint8_t *bytes, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(n));
}

// The reader's configuration: a name, then the default settings with a few
// changes that a form shows.
void giveReaderConfiguration(ReaderModel &reader, const char *name, bool cdc)
{
    memcpy(reader.configuration, name, 8);
    memcpy(reader.configuration + 8, DEFAULT_SETTINGS, 19);
    reader.configuration[8 + 3] = cdc ? 0xC4 : 0x44;
    reader.configuration[8 + 1] |= 0x08; // SKM on
}
} // namespace

class ConfigTransferTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ModalResponder> responder;
    std::unique_ptr<MainWindow> window;
    SimHid *sim = nullptr;

    void click(const char *button) { control<QPushButton>(window.get(), button)->click(); }
    void invoke(const char *slot) { QMetaObject::invokeMethod(window.get(), slot); }
    bool serialSelected() { return control<QAction>(window.get(), "actionSerial")->isChecked(); }
    QString status() { return statusText(window.get()); }

private slots:
    void init()
    {
        responder = std::make_unique<ModalResponder>();
        window = makeWindow(QStringLiteral(SIM_HID_LIBRARY));
        sim = simHid();
        sim->reset();
    }

    void cleanup()
    {
        window.reset();
        responder.reset();
    }

    void readPutsTheReadersRecordOnTheForm()
    {
        RecordingSleep sleep;
        giveReaderConfiguration(sim->reader, "LOJA0001", false);
        click("pushButton_getConfig");
        QCOMPARE(sim->reader.requests, std::vector<Bytes>{{0xEE}});
        QCOMPARE(serializedRecord(), bytesOf(sim->reader.configuration, 27));
        QCOMPARE(control<QLineEdit>(window.get(), "lineEdit_cliente")->text(),
                 QStringLiteral("LOJA0001"));
        QVERIFY(control<QAbstractButton>(window.get(), "checkBox_SKM")->isChecked());
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
        QVERIFY(!serialSelected());
    }

    void readingACdcConfigurationMovesTheLinkToSerial()
    {
        RecordingSleep sleep;
        giveReaderConfiguration(sim->reader, "CAIXA-02", true);
        click("pushButton_getConfig");
        QVERIFY(serialSelected());
        QCOMPARE(control<QLineEdit>(window.get(), "lineEdit_cliente")->text(),
                 QStringLiteral("CAIXA-02"));
        // The next command looks for the reader on the COM port, not on HID.
        const size_t inits = sim->inits.size();
        window->linkSession.com_port_number = 0;
        click("pushButton_firmware");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
        QCOMPARE(sim->inits.size(), inits);
    }

    void shortReadAnswerLeavesZeros()
    {
        RecordingSleep sleep;
        giveReaderConfiguration(sim->reader, "LOJA0001", false);
        sim->reader.faults.shortAnswer = 5; // EE and four letters of the name
        click("pushButton_getConfig");
        QVERIFY(responder->boxes.isEmpty());
        QCOMPARE(control<QLineEdit>(window.get(), "lineEdit_cliente")->text(),
                 QStringLiteral("LOJA"));
        // The settings that did not arrive read as zero.
        QCOMPARE(serializedRecord().mid(8), QByteArray(19, '\0'));
    }

    void writeRightAfterAnEditSendsUserconf()
    {
        RecordingSleep sleep;
        control<QAbstractButton>(window.get(), "checkBox_SKM")->click();
        const QByteArray record = serializedRecord();
        QCOMPARE(record.left(8), QByteArray("USERCONF"));
        click("pushButton_config");
        QCOMPARE(sim->reader.requests.size(), size_t(1));
        QCOMPARE(bytesOf(sim->reader.requests[0].data(), 28), QByteArray("\xDD") + record);
        QCOMPARE(bytesOf(sim->reader.configuration, 27), record);
        QCOMPARE(serializedRecord(), record); // writing changes nothing here
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
    }

    void cdcReaderIsRefusedOnHidAndWrittenOnSerial()
    {
        RecordingSleep sleep;
        giveReaderConfiguration(sim->reader, "CAIXA-02", true);
        click("pushButton_config");
        QCOMPARE(responder->boxes, QVector<ShownBox>{cdcOnHid});
        QCOMPARE(status(), cdcOnHid.text);
        QVERIFY(sim->reader.requests.empty());
        QVERIFY(sim->writes.empty());

        responder->boxes.clear();
        SimulatedPort port(READER_COM, 2400, &window->linkSession);
        giveReaderConfiguration(port.model, "CAIXA-02", true);
        control<QAction>(window.get(), "actionTeclado")->setChecked(false);
        control<QAction>(window.get(), "actionSerial")->setChecked(true);
        click("pushButton_config");
        QVERIFY(responder->boxes.isEmpty());
        QCOMPARE(port.model.requests.back().front(), uint8_t(0xDD));
        QCOMPARE(bytesOf(port.model.configuration, 27), serializedRecord());
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
    }

    void restoreReadsTheFactoryConfigurationBack()
    {
        RecordingSleep sleep;
        giveReaderConfiguration(sim->reader, "LOJA0001", false);
        memcpy(sim->reader.factoryConfiguration, "FABRICA\0", 8);
        window->statusBar()->showMessage(QStringLiteral("antes"));
        QString statusAtPause;
        sleep.onSleep = [&](uint32_t) { statusAtPause = status(); };
        invoke("on_actionDefault_triggered");
        QCOMPARE(sim->reader.requests, (std::vector<Bytes>{{0xAB}, {0xEE}}));
        QCOMPARE(sleep.waits, std::vector<uint32_t>{2000});
        QCOMPARE(statusAtPause, QStringLiteral("antes")); // no "Detectando leitor" first
        QCOMPARE(serializedRecord().left(8), QByteArray("FABRICA\0", 8));
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
        QVERIFY(responder->boxes.isEmpty());
    }

    void restoreWithoutReaderReportsOnceAndReadsNothing()
    {
        RecordingSleep sleep;
        sim->reader.faults.absent = true;
        invoke("on_actionDefault_triggered");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
        QCOMPARE(sim->inits.size(), size_t(10)); // one open, no read afterwards
        QCOMPARE(status(), notFound.text);
    }

    void restoreWhoseReadFailsStillEndsWithConcluido()
    {
        RecordingSleep sleep;
        // The reader is unplugged while the configurator waits for it.
        sleep.onSleep = [&](uint32_t ms) {
            if (ms == 2000)
                sim->reader.faults.absent = true;
        };
        const QByteArray before = serializedRecord();
        invoke("on_actionDefault_triggered");
        QCOMPARE(responder->boxes, QVector<ShownBox>{notFound});
        QCOMPARE(status(), QString::fromUtf8("Concluído"));
        QCOMPARE(serializedRecord(), before);
    }
};

QTEST_MAIN(ConfigTransferTest)
#include "test_config_transfer.moc"
