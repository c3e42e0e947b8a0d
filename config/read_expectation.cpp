#include "config/read_expectation.h"

namespace {
constexpr uint8_t STX = 0x02;
constexpr uint8_t ENTER = 0x0D;
constexpr uint8_t NULL_CHARACTER = 0x00;
constexpr uint8_t FIRST_DATA = 0x21;
constexpr uint8_t LAST_DATA = 0x7E;
const char *const MATCHES = "confere";
const char *const END_OF_READ = "fim da leitura";

struct Builder
{
    ReadExpectation &expectation;

    void byte(uint8_t value)
    {
        // A keyboard has no key for NULL; on the line it is a byte like any other.
        if (value == NULL_CHARACTER && expectation.naming == ByteNaming::Keyboard)
            return;
        expectation.parts.append({ExpectedPart::Byte, value, 1});
    }
    void byteIfSet(uint8_t value)
    {
        if (value != NULL_CHARACTER)
            byte(value);
    }
    void data(int length) { expectation.parts.append({ExpectedPart::Data, 0, length}); }
};

void documentParts(const ConfigRecord &record, DocumentKind kind, Builder &out)
{
    if (kind == DocumentKind::Cheque) {
        bool first = true;
        for (const int length : CMC7_FIELD_LENGTHS) {
            if (!first && record.isOn(Field::cmc7SendSeparator))
                out.byte(record.settings[cmc7SeparatorChar]);
            first = false;
            out.data(length);
        }
        return;
    }
    out.data(BANK_SLIP_BARCODE_LENGTH);
    out.byte(record.settings[bankSlipSeparator1]);
    if (record.isOn(Field::sendValue)) {
        out.data(BANK_SLIP_AMOUNT_LENGTH);
        out.byte(record.settings[bankSlipSeparator2]);
    }
}

bool isData(uint8_t byte)
{
    return byte >= FIRST_DATA && byte <= LAST_DATA;
}

QString hexByte(uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString mismatch(const QString &expected, const QString &received)
{
    return QString::fromUtf8("esperado %1, recebido %2").arg(expected, received);
}
} // namespace

QString documentName(DocumentKind kind)
{
    return kind == DocumentKind::Cheque ? QStringLiteral("cheque")
                                        : QString::fromUtf8("boleto bancário");
}

ReadExpectation expectedRead(const ConfigRecord &record, DocumentKind kind, ByteNaming naming)
{
    ReadExpectation expectation{kind, naming, {}};
    Builder out{expectation};
    if (naming == ByteNaming::Keyboard) {
        documentParts(record, kind, out);
        if (record.isOn(Field::sendCrAfterData)) {
            out.byteIfSet(record.settings[charBeforeCr]);
            out.byte(ENTER);
        }
        return expectation;
    }
    const uint8_t header = record.settings[headerByte1];
    out.byteIfSet(header);
    out.byteIfSet(record.settings[headerByte2]);
    documentParts(record, kind, out);
    out.byteIfSet(record.settings[trailerByte1]);
    out.byteIfSet(record.settings[trailerByte2]);
    if (record.isOn(Field::bccEnabled) && header == STX)
        expectation.parts.append({ExpectedPart::BlockCheck, record.settings[bccInitialValue], 1});
    return expectation;
}

QString expectationText(const ReadExpectation &expectation)
{
    QString text;
    for (const ExpectedPart &part : expectation.parts) {
        if (part.kind == ExpectedPart::Data)
            text += QStringLiteral("[%1]").arg(part.length);
        else if (part.kind == ExpectedPart::BlockCheck)
            text += QStringLiteral("[BCC]");
        else
            text += byteText(&part.byte, 1, expectation.naming);
    }
    return text;
}

ReadCheck checkRead(const ReadExpectation &expectation, const QByteArray &read)
{
    const auto received = [&](qsizetype at) {
        return at < read.size() ? byteName(uint8_t(read[at]), expectation.naming)
                                : QString::fromUtf8(END_OF_READ);
    };
    qsizetype at = 0;
    for (const ExpectedPart &part : expectation.parts) {
        if (part.kind == ExpectedPart::Data) {
            for (int i = 0; i < part.length; ++i, ++at)
                if (at >= read.size() || !isData(uint8_t(read[at])))
                    return {false, at,
                            mismatch(QString::fromUtf8("dado %1 de %2").arg(i + 1).arg(part.length),
                                     received(at))};
            continue;
        }
        uint8_t wanted = part.byte;
        if (part.kind == ExpectedPart::BlockCheck)
            for (qsizetype i = 1; i < at; ++i)
                wanted ^= uint8_t(read[i]);
        if (at >= read.size() || uint8_t(read[at]) != wanted) {
            if (part.kind == ExpectedPart::Byte)
                return {false, at, mismatch(byteName(wanted, expectation.naming), received(at))};
            // A block check is a number: both sides in hex.
            return {false, at,
                    mismatch(QStringLiteral("BCC ") + hexByte(wanted),
                             at < read.size() ? QStringLiteral("BCC ") + hexByte(uint8_t(read[at]))
                                              : received(at))};
        }
        ++at;
    }
    if (at < read.size())
        return {false, at, mismatch(QString::fromUtf8(END_OF_READ), received(at))};
    return {true, at, QString::fromUtf8(MATCHES)};
}

ReadVerdict judgeRead(const ConfigRecord &record, ByteNaming naming, const QByteArray &read)
{
    ReadVerdict best{expectedRead(record, DocumentKind::Cheque, naming), {}};
    best.check = checkRead(best.expectation, read);
    const ReadExpectation slip = expectedRead(record, DocumentKind::BankSlip, naming);
    const ReadCheck slipCheck = checkRead(slip, read);
    if (slipCheck.matches || (!best.check.matches && slipCheck.position > best.check.position))
        best = {slip, slipCheck};
    return best;
}
