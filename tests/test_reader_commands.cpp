// The reader commands without any window: every command on both links
// against the simulated reader, in each of the outcomes a reader can give.
#include "commands/reader_commands.h"
#include "sim_hid.h"
#include "simulated_port.h"

#include <QTest>

namespace {
constexpr int READER_COM = 65;
using Bytes = std::vector<uint8_t>;
using Waits = std::vector<uint32_t>;

class RecordingObserver : public CommandObserver
{
public:
    QStringList texts;
    int waitDepth = 0, waitsBegun = 0;

    void progress(const QString &text) override { texts << text; }
    void waitBegins() override { ++waitDepth, ++waitsBegun; }
    void waitEnds() override { --waitDepth; }
};

// CdcReader: the reader's configuration selects its CDC interface.
enum class Outcome
{
    Accepted,
    NoReader,
    WrongAnswer,
    CdcReader
};

// run hands what the command gives back to value.
struct Command
{
    const char *name;
    const char *request;  // in hex
    const char *doneText; // null: the command shows none
    const char *value;    // handed back on success; "config": the reader's configuration in hex
    CommandFailure (*run)(ReaderCommands &, const Reader &, QString *value);
};

const Command commands[] = {
    {"firmware", "AA", "Concluído", "VELORIX II 1.05",
     [](ReaderCommands &c, const Reader &l, QString *v) { return c.readFirmware(l, v); }},
    {"serial number", "CC", "Concluído", "000001",
     [](ReaderCommands &c, const Reader &l, QString *v) { return c.readSerialNumber(l, v); }},
    {"serial number write", "BB303030313233", "Concluído", "000124",
     [](ReaderCommands &c, const Reader &l, QString *v) {
         return c.writeSerialNumber(l, QStringLiteral("000123"), v);
     }},
    {"configuration read", "EE", "Concluído", "config",
     [](ReaderCommands &c, const Reader &l, QString *v) {
         uint8_t config[CONFIG_SERIALIZED_SIZE] = {};
         const CommandFailure failure = c.readConfiguration(l, config);
         *v = QString::fromLatin1(QByteArray(reinterpret_cast<char *>(config), 27).toHex());
         return failure;
     }},
    {"configuration write", "DD55534552434F4E46D2F7C44402213F09090909000D020003000203", "Concluído",
     "",
     [](ReaderCommands &c, const Reader &l, QString *) {
         ConfigRecord record = {};
         record.initialise();
         record.markUserEdited();
         return c.writeConfiguration(l, record);
     }},
    {"factory restore", "AB", nullptr, "",
     [](ReaderCommands &c, const Reader &l, QString *) { return c.restoreDefaults(l); }},
    {"firmware update", "FF", "Leitor em modo DFU", "",
     [](ReaderCommands &c, const Reader &l, QString *) { return c.enterDfu(l); }},
};

} // namespace

class ReaderCommandsTest : public QObject
{
    Q_OBJECT

    SimHid *sim = nullptr;

private slots:
    void initTestCase()
    {
        hid_library_use_file(SIM_HID_LIBRARY);
        sim = simHid();
    }

    void everyCommandOnEveryLinkInEveryOutcome()
    {
        for (const Command &command : commands)
            for (ReaderLink link : {ReaderLink::Hid, ReaderLink::Serial})
                for (Outcome outcome : {Outcome::Accepted, Outcome::NoReader, Outcome::WrongAnswer,
                                        Outcome::CdcReader})
                    check(command, link, outcome);
    }

private:
    void check(const Command &command, ReaderLink link, Outcome outcome)
    {
        const QByteArray requestBytes = QByteArray::fromHex(command.request);
        const Bytes request(requestBytes.begin(), requestBytes.end());
        const bool overHid = link == ReaderLink::Hid || request[0] == CMD_ENTER_DFU;
        const QByteArray row = QByteArray(command.name) +
                               (link == ReaderLink::Hid ? " HID " : " serial ") +
                               QByteArray::number(static_cast<int>(outcome));

        sim->reset();
        LinkSession session;
        QCOMPARE(session.loadHidLibrary(), 0);
        SimulatedPort port(READER_COM, 2400, &session);
        ReaderModel &reader = overHid ? sim->reader : port.model;
        if (outcome == Outcome::NoReader)
            reader.faults.absent = true;
        if (outcome == Outcome::CdcReader)
            reader.configuration[CONFIG_NAME_SIZE + Field::cdcInterface.byte] |=
                Field::cdcInterface.mask;
        if (outcome == Outcome::WrongAnswer && overHid)
            reader.faults.wrongEcho = true;
        if (outcome == Outcome::WrongAnswer && !overHid)
            port.sleep.onSleep = [&](uint32_t) {
                port.reader.service();
                port.model.faults.wrongEcho = true; // detection's probe was answered
            };

        RecordingObserver observer;
        ReaderCommands commandSet(session, observer);
        QString value;
        const Reader chosen =
            link == ReaderLink::Hid ? Reader::firstHid() : Reader::comPort(READER_COM);
        const CommandFailure failure = command.run(commandSet, chosen, &value);

        const CommandFailure expected =
            outcome == Outcome::NoReader      ? READER_NOT_FOUND
            : outcome == Outcome::WrongAnswer ? COMMUNICATION_ERROR
            : outcome == Outcome::CdcReader && overHid && request[0] == CMD_SET_CONFIG
                ? CDC_READER_ON_HID
                : COMMAND_OK;
        QVERIFY2(failure == expected, row + " gave " + QByteArray::number(failure));
        const QByteArray config(reinterpret_cast<const char *>(reader.configuration), 27);
        if (expected == COMMAND_OK)
            QVERIFY2(value.toUtf8() == (qstrcmp(command.value, "config") ? QByteArray(command.value)
                                                                         : config.toHex()),
                     row);

        std::vector<Bytes> requests;
        if (!overHid && outcome != Outcome::NoReader)
            requests.push_back({0xAA}); // detection's probe
        if (expected == COMMAND_OK || expected == COMMUNICATION_ERROR)
            requests.push_back(request);
        QVERIFY2(reader.requests == requests, row);
        QVERIFY2(overHid ? port.model.requests.empty() : sim->reader.requests.empty(), row);

        QStringList texts;
        if (request[0] != CMD_SET_DEFAULTS)
            texts << QStringLiteral("Detectando leitor");
        if (expected == COMMAND_OK && command.doneText)
            texts << QString::fromUtf8(command.doneText);
        QVERIFY2(observer.texts == texts, row + ": " + observer.texts.join('|').toUtf8());
        QVERIFY2(observer.waitDepth == 0 && observer.waitsBegun > 0, row);

        Waits waits;
        if (outcome == Outcome::NoReader)
            waits =
                overHid ? Waits(5, 1000) : Waits{2000, 200, 200, 200, 200, 200, 200, 2000, 1000};
        else if (!overHid)
            waits = {2000, 2000}; // the probe's answer, then the command's
        if (expected == COMMAND_OK && request[0] == CMD_SET_DEFAULTS)
            waits.push_back(FACTORY_RESTORE_WAIT_MS);
        QVERIFY2(port.sleep.waits == waits, row);

        // The COM port is never left open; the HID device is closed only
        // after an accepted answer.
        QVERIFY2(session.serial_port.handle == SERIAL_NO_HANDLE && !session.serial_port.open, row);
        QVERIFY2(sim->closeCalls == (overHid && expected == COMMAND_OK ? 1 : 0), row);
    }
};

QTEST_GUILESS_MAIN(ReaderCommandsTest)
#include "test_reader_commands.moc"
