// What a record leads one to expect from a read, checked against what the
// simulated reader sends for the same record, and the marks of a read that
// departs from it.
#include "config/read_expectation.h"
#include "sim/document_read.h"

#include <QTest>
#include <cstring>
#include <functional>

namespace {
using Kind = DocumentKind;
constexpr ByteNaming SERIAL = ByteNaming::Serial;
constexpr ByteNaming KEYBOARD = ByteNaming::Keyboard;

// Protocol bytes 13 to 16, as the protocol list writes them.
constexpr uint8_t STX_D_ETX[] = {0x02, 0x00, 0x03, 0x00};
constexpr uint8_t D_CR_LF[] = {0x00, 0x00, 0x0D, 0x0A};
constexpr uint8_t D_CR[] = {0x00, 0x00, 0x0D, 0x00};
constexpr uint8_t NONE[] = {0x00, 0x00, 0x00, 0x00};

struct Row
{
    const char *name;
    std::function<void(ConfigRecord &)> change;
    // Serial cheque, serial bank slip, keyboard cheque, keyboard bank slip.
    const char *expected[4];
};

void protocol(ConfigRecord &record, const uint8_t (&bytes)[4])
{
    memcpy(record.settings + headerByte1, bytes, sizeof bytes);
}

const Row rows[] = {
    {"defaults",
     [](ConfigRecord &) {},
     {"<STX>[8][10][12]<ETX>[BCC]", "<STX>[44]<TAB>[10]<TAB><ETX>[BCC]", "[8][10][12]<ENTER>",
      "[44]<TAB>[10]<TAB><ENTER>"}},
    {"separator, D-CR-LF",
     [](ConfigRecord &r) {
         r.setOn(Field::cmc7SendSeparator, true);
         r.settings[cmc7SeparatorChar] = ';';
         protocol(r, D_CR_LF);
     },
     {"[8];[10];[12]<CR><LF>", "[44]<TAB>[10]<TAB><CR><LF>", "[8];[10];[12]<ENTER>",
      "[44]<TAB>[10]<TAB><ENTER>"}},
    {"no protocol, no amount, no CR",
     [](ConfigRecord &r) {
         protocol(r, NONE);
         r.setOn(Field::sendValue, false);
         r.setOn(Field::sendCrAfterData, false);
         r.settings[bankSlipSeparator1] = ' ';
     },
     {"[8][10][12]", "[44] ", "[8][10][12]", "[44] "}},
    // A NULL is a byte on the line but no key.
    {"NULL separators, D-CR, character before CR",
     [](ConfigRecord &r) {
         protocol(r, D_CR);
         r.setOn(Field::cmc7SendSeparator, true);
         r.settings[cmc7SeparatorChar] = 0x00;
         r.settings[bankSlipSeparator2] = 0x00;
         r.settings[charBeforeCr] = '#';
     },
     {"[8]<00>[10]<00>[12]<CR>", "[44]<TAB>[10]<00><CR>", "[8][10][12]#<ENTER>",
      "[44]<TAB>[10]#<ENTER>"}},
    {"STX-D-ETX without BCC, BCKSPC",
     [](ConfigRecord &r) {
         protocol(r, STX_D_ETX);
         r.setOn(Field::bccEnabled, false);
         r.settings[bankSlipSeparator1] = 0x7F;
     },
     {"<STX>[8][10][12]<ETX>", "<STX>[44]<7F>[10]<TAB><ETX>", "[8][10][12]<ENTER>",
      "[44]<BCKSPC>[10]<TAB><ENTER>"}},
};

ConfigRecord recordOf(const Row &row)
{
    ConfigRecord record = {};
    record.initialise();
    row.change(record);
    return record;
}

// What the simulated reader sends for the record.
QByteArray simulatedRead(const ConfigRecord &record, Kind kind, ByteNaming naming)
{
    uint8_t block[CONFIG_SERIALIZED_SIZE];
    record.serialize(block);
    uint8_t out[DOCUMENT_MAX_SIZE];
    const size_t n = document_send(block, kind == Kind::Cheque ? SIM_CHEQUE : SIM_BANK_SLIP,
                                   naming == SERIAL ? SIM_SERIAL : SIM_KEYBOARD, out);
    return QByteArray(reinterpret_cast<const char *>(out), qsizetype(n));
}

struct Variant
{
    Kind kind;
    ByteNaming naming;
};
constexpr Variant variants[] = {{Kind::Cheque, SERIAL},
                                {Kind::BankSlip, SERIAL},
                                {Kind::Cheque, KEYBOARD},
                                {Kind::BankSlip, KEYBOARD}};
} // namespace

class ReadExpectationTest : public QObject
{
    Q_OBJECT

private slots:
    void expectationFollowsTheRecordAndTheSimulatedReaderMatchesIt()
    {
        for (const Row &row : rows) {
            const ConfigRecord record = recordOf(row);
            for (int v = 0; v < 4; ++v) {
                const Variant &variant = variants[v];
                const ReadExpectation expected = expectedRead(record, variant.kind, variant.naming);
                const QByteArray read = simulatedRead(record, variant.kind, variant.naming);
                const ReadVerdict verdict = judgeRead(record, variant.naming, read);
                const QString where = QStringLiteral("%1, variant %2").arg(row.name).arg(v);
                QVERIFY2(expectationText(expected) == QLatin1String(row.expected[v]),
                         qPrintable(where + QStringLiteral(": ") + expectationText(expected)));
                QVERIFY2(verdict.check.matches,
                         qPrintable(where + QStringLiteral(": ") + verdict.check.mark));
                QCOMPARE(verdict.check.mark, QStringLiteral("confere"));
                QCOMPARE(verdict.expectation.kind, variant.kind);
            }
        }
    }

    void readThatDepartsIsMarkedWhereItDoes()
    {
        ConfigRecord record = {};
        record.initialise();
        const QByteArray keyboardSlip = simulatedRead(record, Kind::BankSlip, KEYBOARD);
        const QByteArray serialCheque = simulatedRead(record, Kind::Cheque, SERIAL);
        const uint8_t bcc = uint8_t(serialCheque.back());
        const auto hex = [](int byte) {
            return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        };
        const auto replaced = [](QByteArray read, qsizetype at, char byte) {
            read[at] = byte;
            return read;
        };
        const struct
        {
            ByteNaming naming;
            QByteArray read;
            qsizetype position;
            QString mark;
            Kind judgedAs;
        } cases[] = {
            {KEYBOARD, replaced(keyboardSlip, 44, '\r'), 44,
             QStringLiteral("esperado TAB, recebido ENTER"), Kind::BankSlip},
            {KEYBOARD, keyboardSlip.chopped(1), keyboardSlip.size() - 1,
             QStringLiteral("esperado ENTER, recebido fim da leitura"), Kind::BankSlip},
            {KEYBOARD, keyboardSlip + "\t", keyboardSlip.size(),
             QStringLiteral("esperado fim da leitura, recebido TAB"), Kind::BankSlip},
            // A slip read as far as a cheque's: the cheque is named.
            {SERIAL, replaced(serialCheque, 3, '\t'), 3,
             QStringLiteral("esperado dado 3 de 8, recebido TAB"), Kind::Cheque},
            {SERIAL, serialCheque.mid(1), 0, QStringLiteral("esperado STX, recebido 0"),
             Kind::Cheque},
            {SERIAL, replaced(serialCheque, serialCheque.size() - 2, '\n'), 31,
             QStringLiteral("esperado ETX, recebido LF"), Kind::Cheque},
            {SERIAL, replaced(serialCheque, serialCheque.size() - 1, char(bcc ^ 0xFF)), 32,
             QStringLiteral("esperado BCC %1, recebido BCC %2").arg(hex(bcc), hex(bcc ^ 0xFF)),
             Kind::Cheque},
            {SERIAL, serialCheque.chopped(1), 32,
             QStringLiteral("esperado BCC %1, recebido fim da leitura").arg(hex(bcc)),
             Kind::Cheque},
        };
        for (const auto &c : cases) {
            const ReadVerdict verdict = judgeRead(record, c.naming, c.read);
            QVERIFY(!verdict.check.matches);
            QCOMPARE(verdict.check.mark, c.mark);
            QCOMPARE(verdict.check.position, c.position);
            QCOMPARE(verdict.expectation.kind, c.judgedAs);
        }
    }

    void dataIsEveryPrintableByteButTheSpace()
    {
        ConfigRecord record = {};
        record.initialise();
        const QByteArray slip = simulatedRead(record, Kind::BankSlip, KEYBOARD);
        const struct
        {
            char byte;
            bool matches;
        } cases[] = {{' ', false}, {'!', true}, {'~', true}, {'\x7F', false}};
        for (const auto &c : cases) {
            QByteArray read = slip;
            read[5] = c.byte;
            const ReadVerdict verdict = judgeRead(record, KEYBOARD, read);
            QVERIFY2(verdict.check.matches == c.matches, qPrintable(verdict.check.mark));
            QCOMPARE(verdict.check.position, c.matches ? read.size() : 5);
        }
    }
};

QTEST_GUILESS_MAIN(ReadExpectationTest)
#include "test_read_expectation.moc"
