// The reader commands without any window: every command on both links
// against the simulated reader, in each of the outcomes a reader can give.
#include "commands/reader_commands.h"
#include "recording_sleep.h"
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
    int waitDepth = 0;
    int waitsBegun = 0;

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

ConfigRecord sampleRecord()
{
    ConfigRecord record = {};
    record.initialise();
    record.markUserEdited();
    return record;
}

struct Command
{
    const char *name;
    const char *request;  // in hex
    const char *doneText; // null: the command shows none
    const char *value;    // handed back on success; "config": the reader's configuration in hex
};

const Command commands[] = {
    {"firmware", "AA", "Concluído", "VELORIX II 1.05"},
    {"serial number", "CC", "Concluído", "000001"},
    {"serial number write", "BB303030313233", "Concluído", "000124"},
    {"configuration read", "EE", "Concluído", "config"},
    {"configuration write", "DD55534552434F4E46D2F7C44402213F09090909000D020003000203", "Concluído",
     ""},
    {"factory restore", "AB", nullptr, ""},
    {"firmware update", "FF", "Leitor em modo DFU", ""},
};

// Runs the command of this request byte; what it hands back goes to value.
CommandFailure run(ReaderCommands &c, ReaderLink link, uint8_t request, QString *value)
{
    uint8_t config[CONFIG_SERIALIZED_SIZE] = {};
    CommandFailure failure = COMMAND_OK;
    switch (request) {
    case 0xAA:
        return c.readFirmware(link, value);
    case 0xCC:
        return c.readSerialNumber(link, value);
    case 0xBB:
        return c.writeSerialNumber(link, QStringLiteral("000123"), value);
    case 0xEE:
        failure = c.readConfiguration(link, config);
        *value = QString::fromLatin1(QByteArray(reinterpret_cast<char *>(config), 27).toHex());
        return failure;
    case CMD_SET_CONFIG:
        return c.writeConfiguration(link, sampleRecord());
    case 0xAB:
        return c.restoreDefaults(link);
    }
    return c.enterDfu();
}

const Waits HID_OPEN_PAUSES(5, 1000);
const Waits SERIAL_SCAN = {2000, 200, 200, 200, 200, 200, 200, 2000, 1000};
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
        const bool announced = request[0] != CMD_SET_DEFAULTS;
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
        const CommandFailure failure = run(commandSet, link, request[0], &value);

        CommandFailure expected = COMMAND_OK;
        if (outcome == Outcome::NoReader)
            expected = READER_NOT_FOUND;
        else if (outcome == Outcome::WrongAnswer)
            expected = COMMUNICATION_ERROR;
        else if (outcome == Outcome::CdcReader && overHid && request[0] == CMD_SET_CONFIG)
            expected = CDC_READER_ON_HID;
        QVERIFY2(failure == expected, row + " gave " + QByteArray::number(failure));
        const QByteArray config(reinterpret_cast<const char *>(reader.configuration), 27);
        const bool isConfig = qstrcmp(command.value, "config") == 0;
        if (expected == COMMAND_OK)
            QVERIFY2(value.toUtf8() == (isConfig ? config.toHex() : QByteArray(command.value)),
                     row);

        std::vector<Bytes> requests;
        if (!overHid && outcome != Outcome::NoReader)
            requests.push_back({0xAA}); // detection's probe
        if (expected == COMMAND_OK || expected == COMMUNICATION_ERROR)
            requests.push_back(request);
        QVERIFY2(reader.requests == requests, row);
        QVERIFY2(overHid ? port.model.requests.empty() : sim->reader.requests.empty(), row);

        QStringList texts;
        if (announced)
            texts << QStringLiteral("Detectando leitor");
        if (expected == COMMAND_OK && command.doneText)
            texts << QString::fromUtf8(command.doneText);
        QVERIFY2(observer.texts == texts, row + ": " + observer.texts.join('|').toUtf8());
        QVERIFY2(observer.waitDepth == 0 && observer.waitsBegun > 0, row);

        Waits waits;
        if (outcome == Outcome::NoReader)
            waits = overHid ? HID_OPEN_PAUSES : SERIAL_SCAN;
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
