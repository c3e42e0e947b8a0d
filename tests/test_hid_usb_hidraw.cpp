// The HID access library on Debian's hidapi (hidraw backend, enumerating
// through libudev), against readers on a kernel that umockdev mocks: sysfs,
// udev properties and the hidraw nodes, each played by the simulated reader.
#include "commands/reader_commands.h"
#include "hid_usb/hid_usb.h"
#include "hidraw_readers.h"
#include "recording_sleep.h"

#include <QTest>

#include <climits>
#include <cstring>
#include <unistd.h>

namespace {
constexpr unsigned short VENDOR = ReaderModel::VENDOR_ID, STRANGER = 0x1234;
constexpr unsigned short PID_KEYBOARD = ReaderModel::PID_KEYBOARD, PID_CDC = ReaderModel::PID_CDC;
constexpr unsigned ANSWER_WAIT_MS = 5000;
constexpr uint8_t GET_SERIAL_REPORT[HID_USB_REPORT_SIZE] = {0x00, 0x02, 0x01, 0xCC, 0x03, 0xCE};

class QuietObserver : public CommandObserver
{
public:
    void progress(const QString &) override {}
};

QByteArray bytes(const Bytes &data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
}

QByteArray outputReport(const QByteArray &payload)
{
    char check = char(payload.size() ^ 0x03);
    for (char byte : payload)
        check = char(check ^ byte);
    const QByteArray frame = '\x02' + (char(payload.size()) + payload) + '\x03' + check;
    return ('\0' + frame).leftJustified(HID_USB_REPORT_SIZE, '\0');
}

// One command as the window runs it; run hands what it gives back to value.
struct Command
{
    const char *name;
    const char *request; // in hex
    const char *value;
    CommandFailure (*run)(ReaderCommands &, QString *value);
};

const Command commands[] = {
    {"firmware", "AA", "VELORIX II 1.05",
     [](ReaderCommands &c, QString *v) { return c.readFirmware(Reader::firstHid(), v); }},
    {"serial number", "CC", "000001",
     [](ReaderCommands &c, QString *v) { return c.readSerialNumber(Reader::firstHid(), v); }},
    {"serial number write", "BB303030313233", "000124",
     [](ReaderCommands &c, QString *v) {
         return c.writeSerialNumber(Reader::firstHid(), QStringLiteral("000123"), v);
     }},
    {"configuration read", "EE", "",
     [](ReaderCommands &c, QString *) {
         uint8_t config[CONFIG_SERIALIZED_SIZE] = {};
         return c.readConfiguration(Reader::firstHid(), config);
     }},
    {"configuration write", "DD55534552434F4E46D2F7C44402213F09090909000D020003000203", "",
     [](ReaderCommands &c, QString *) {
         ConfigRecord record = {};
         record.initialise();
         record.markUserEdited();
         return c.writeConfiguration(Reader::firstHid(), record);
     }},
    {"factory restore", "AB", "",
     [](ReaderCommands &c, QString *) { return c.restoreDefaults(Reader::firstHid()); }},
    {"firmware update", "FF", "",
     [](ReaderCommands &c, QString *) { return c.enterDfu(Reader::firstHid()); }},
};
} // namespace

class HidUsbHidrawTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HidrawReaders> readers;
    LinkSession session;
    QuietObserver observer;
    unsigned char report[HID_USB_REPORT_SIZE] = {};

    // The report read over a stale one; prefixed "failed" when none came.
    QByteArray readReport(unsigned wait = ANSWER_WAIT_MS)
    {
        memset(report, 0xAA, sizeof report);
        const bool read = ReadInputReport(wait, report) != 0;
        return (read ? "" : "failed") + QByteArray(reinterpret_cast<char *>(report), sizeof report);
    }

    static QByteArray failedRead() { return "failed" + QByteArray(HID_USB_REPORT_SIZE, '\0'); }

    int askSerialNumber()
    {
        memcpy(report, GET_SERIAL_REPORT, sizeof report);
        return WriteOutputReport(report);
    }

private slots:
    void initTestCase()
    {
        session.hidLibrary = {Init_HID,        CloseHandles,  WriteOutputReport,
                              ReadInputReport, Enumerate_HID, Open_HID_Path};
    }

    void init()
    {
        readers = std::make_unique<HidrawReaders>();
        inputWaits = {};
    }

    void cleanup()
    {
        QCOMPARE(CloseHandles(), 0);
        readers.reset();
    }

    void everyCommandOnAKeyboardModeReader_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(commands)); ++row)
            QTest::newRow(commands[row].name) << row;
    }

    void everyCommandOnAKeyboardModeReader()
    {
        QFETCH(int, row);
        const Command &command = commands[row];
        MockReader &reader = readers->plug("1-2", PID_KEYBOARD);
        HidrawNode &configuration = reader.node(CONFIGURATION);
        RecordingSleep sleep;
        ReaderCommands run(session, observer);
        QString value;
        QCOMPARE(command.run(run, &value), COMMAND_OK);
        QCOMPARE(value, QString(command.value));
        // One output report to the configuration interface: report id 0, the frame, zeros.
        QVERIFY(reader.node(KEYBOARD).writes.empty());
        QCOMPARE(configuration.writes.size(), size_t(1));
        QCOMPARE(bytes(configuration.writes[0]),
                 outputReport(QByteArray::fromHex(command.request)));
        QCOMPARE(reader.model.requests.size(), size_t(1));
        QCOMPARE(sleep.waits, reader.model.requests[0][0] == CMD_SET_DEFAULTS
                                  ? std::vector<uint32_t>{FACTORY_RESTORE_WAIT_MS}
                                  : std::vector<uint32_t>{});
    }

    void cdcReaderIsReachedOnItsConfigurationInterface()
    {
        MockReader &reader = readers->plug("1-4", PID_CDC);
        ReaderCommands run(session, observer);
        ConfigRecord record = {};
        record.initialise();
        RecordingSleep sleep;
        QCOMPARE(run.writeConfiguration(Reader::firstHid(), record), CDC_READER_ON_HID);
        QString serialNumber;
        QCOMPARE(run.readSerialNumber(Reader::firstHid(), &serialNumber), COMMAND_OK);
        QCOMPARE(serialNumber, QStringLiteral("000001"));
        QVERIFY(reader.node(KEYBOARD).writes.empty());
        QCOMPARE(reader.node(CONFIGURATION).writes.size(), size_t(1));
    }

    // The interfaces of one reader by kind (lower case: only root may open
    // it), and which of them Init_HID takes, by position (-1: none).
    void choosesTheConfigurationInterface_data()
    {
        QTest::addColumn<QByteArray>("kinds");
        QTest::addColumn<int>("chosen");
        // Only Generic Desktop / Keyboard together make the keyboard, whose
        // node is listed once more for its consumer keys.
        for (const char *kinds : {"KC", "KV", "KM", "KN", "KUC"})
            QTest::newRow(kinds) << QByteArray(kinds) << int(strlen(kinds)) - 1;
        // Without a configuration interface the first that opens does.
        for (const char *kinds : {"K", "UK", "KU", "kU"})
            QTest::newRow(kinds) << QByteArray(kinds) << int(islower(kinds[0]) != 0);
        // One that will not open is passed over, but not for the keyboard.
        QTest::newRow("KcC") << QByteArray("KcC") << 2;
        QTest::newRow("Kc") << QByteArray("Kc") << -1;
        QTest::newRow("cc") << QByteArray("cc") << -1;
    }

    void choosesTheConfigurationInterface()
    {
        QFETCH(QByteArray, kinds);
        QFETCH(int, chosen);
        MockReader &reader = readers->plug("1-2", PID_KEYBOARD, kinds.constData());
        OrdinaryUser user;
        QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0, chosen >= 0);
        QCOMPARE(askSerialNumber() != 0, chosen >= 0);
        for (int i = 0; i < int(reader.nodes.size()); ++i)
            QCOMPARE(reader.nodes[size_t(i)].writes.size(), size_t(i == chosen));
    }

    void threeReadersAreListedAndOpenedByPath()
    {
        const struct
        {
            const char *port, *serialNumber;
            unsigned short productId;
        } plugged[] = {{"1-1", "100001", PID_KEYBOARD},
                       {"1-2", "100002", PID_CDC},
                       {"1-3.4", "100003", PID_KEYBOARD}};
        std::vector<MockReader *> mocks;
        for (const auto &p : plugged) {
            mocks.push_back(&readers->plug(p.port, p.productId));
            memcpy(mocks.back()->model.serialNumber, p.serialNumber, 7);
        }
        // Another maker's device with the same product id.
        readers->plug("1-5", PID_KEYBOARD, "KC", STRANGER);

        HidUsbDevice listed[4] = {};
        QCOMPARE(Enumerate_HID(VENDOR, PID_KEYBOARD, listed, 4), 2);
        QCOMPARE(Enumerate_HID(VENDOR, PID_CDC, listed + 2, 2), 1);
        const size_t order[] = {0, 2, 1};
        for (size_t i = 0; i < 3; ++i) {
            MockReader &reader = *mocks[order[i]];
            HidrawNode &configuration = reader.node(CONFIGURATION);
            QCOMPARE(QByteArray(listed[i].path) + ' ' + listed[i].portPath,
                     QByteArray((configuration.path + ' ' + reader.port).c_str()));
            QCOMPARE(listed[i].productId, plugged[order[i]].productId);
            QVERIFY(Open_HID_Path(listed[i].path) != 0);
            QVERIFY(askSerialNumber() != 0);
            // The input report as the reader sent it, after the report id 0.
            QCOMPARE(readReport(), '\0' + bytes(configuration.answers.at(0)));
            QCOMPARE(QByteArray(reinterpret_cast<char *>(report) + 4, 6),
                     QByteArray(plugged[order[i]].serialNumber));
            QCOMPARE(CloseHandles(), 0);
        }
        // hidapi reads a zero id as "any": the stranger is there, but never opened so.
        QVERIFY(Init_HID(STRANGER, PID_KEYBOARD, 0) != 0);
        for (auto ids : {std::pair(0, 0), std::pair(int(VENDOR), 0), std::pair(0, int(PID_CDC))})
            QCOMPARE(Init_HID(ushort(ids.first), ushort(ids.second), 0), 0);
        QCOMPARE(WriteOutputReport(report), 0);
    }

    void reopeningShortReportsAndFailedWrites()
    {
        MockReader &keyboardMode = readers->plug("1-1", PID_KEYBOARD);
        MockReader &cdcMode = readers->plug("1-2", PID_CDC);
        // Opening again closes the device open, even when the new one is not there.
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0 && Init_HID(VENDOR, PID_CDC, 0) != 0);
        QVERIFY(askSerialNumber() != 0);
        QVERIFY(keyboardMode.node(CONFIGURATION).writes.empty());
        QCOMPARE(cdcMode.node(CONFIGURATION).writes.size(), size_t(1));
        QCOMPARE(readReport(), '\0' + bytes(cdcMode.node(CONFIGURATION).answers.at(0)));
        // A short report leaves no stale bytes behind it.
        const char shortReport[] = "\x02\x01\xCC\x03\xCE";
        QCOMPARE(write(cdcMode.node(CONFIGURATION).master, shortReport, 5), 5);
        QCOMPARE(readReport(),
                 QByteArray(1, '\0') + QByteArray(shortReport).leftJustified(64, '\0'));
        for (long result : {-1L, 0L, 40L, 64L}) {
            cdcMode.node(CONFIGURATION).writeResult = result;
            QVERIFY2(askSerialNumber() == 0, qPrintable(QString::number(result)));
        }
        QVERIFY(WriteOutputReport(nullptr) == 0 && ReadInputReport(ANSWER_WAIT_MS, nullptr) == 0);
        QCOMPARE(Init_HID(VENDOR, 0x3004, 0), 0);
        QCOMPARE(askSerialNumber(), 0);
        QCOMPARE(readReport(), failedRead());
        QCOMPARE(cdcMode.node(CONFIGURATION).writes.size(), size_t(5));
    }

    void readerRemovedBetweenWriteAndRead()
    {
        MockReader &reader = readers->plug("1-2", PID_KEYBOARD);
        reader.model.faults.silent = true; // gone before it answers
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QVERIFY(askSerialNumber() != 0);
        readers->unplug(reader);
        inputWaits.noWait = true;
        QCOMPARE(readReport(), failedRead());
        QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0), 0);
        QCOMPARE(reader.model.requests.size(), size_t(1));
    }

    void nodeWithoutPermissionIsNotFound()
    {
        MockReader &reader = readers->plug("1-2", PID_KEYBOARD);
        readers->refuse(reader.node(CONFIGURATION));
        {
            OrdinaryUser user;
            // Listed, so it is there; refused, and the keyboard is no stand-in for it.
            QCOMPARE(Enumerate_HID(VENDOR, PID_KEYBOARD, nullptr, 0), 1);
            QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0), 0);
        }
        readers->allow(reader.node(CONFIGURATION));
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QVERIFY(reader.node(KEYBOARD).writes.empty());
    }

    void readerThatNeverAnswers()
    {
        MockReader &reader = readers->plug("1-2", PID_KEYBOARD);
        reader.model.faults.silent = true;
        ReaderCommands run(session, observer);
        inputWaits.noWait = true;
        QString serialNumber;
        QCOMPARE(run.readSerialNumber(Reader::firstHid(), &serialNumber), COMMUNICATION_ERROR);
        QCOMPARE(inputWaits.timeouts, std::vector<int>{int(ANSWER_WAIT_MS)});
        // hidapi takes -1 for "wait forever": the longest wait asked stays finite.
        QCOMPARE(readReport(UINT_MAX), failedRead());
        QCOMPARE(inputWaits.timeouts, (std::vector<int>{int(ANSWER_WAIT_MS), INT_MAX}));
        QCOMPARE(reader.model.requests.size(), size_t(1));
        // The reader is still there: the next exchange goes through.
        reader.model.faults.silent = false;
        QVERIFY(askSerialNumber() != 0);
        QCOMPARE(readReport(), '\0' + bytes(reader.node(CONFIGURATION).answers.at(0)));
    }
};

QTEST_GUILESS_MAIN(HidUsbHidrawTest)
#include "test_hid_usb_hidraw.moc"
