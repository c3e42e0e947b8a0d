#include "config/character_lists.h"
#include "config/config_record.h"
#include "config/form_fields.h"

#include <QTest>

class ConfigRecordTest : public QObject
{
    Q_OBJECT

    static QByteArray bytesOf(const ConfigRecord &record)
    {
        uint8_t out[CONFIG_SERIALIZED_SIZE];
        record.serialize(out);
        return QByteArray(reinterpret_cast<const char *>(out), sizeof out);
    }

private slots:
    void recordBytesAndName()
    {
        ConfigRecord record;
        memset(&record, 0xEE, sizeof record);
        memset(record.profileName, 0, sizeof record.profileName);
        record.initialise();
        const QByteArray defaults("d2 f7 c4 44 02 21 3f 09 09 09 09 00 0d 02 00 03 00 02 03");
        QCOMPARE(bytesOf(record).toHex(' '), "00 00 00 00 00 00 00 00 " + defaults);
        record.markUserEdited(); // exactly eight letters
        QCOMPARE(bytesOf(record).toHex(' '), "55 53 45 52 43 4f 4e 46 " + defaults);
        QCOMPARE(record.displayName(), QStringLiteral("USERCONF"));

        // Deserialize takes the bytes as they are.
        uint8_t block[CONFIG_SERIALIZED_SIZE];
        for (size_t i = 0; i < sizeof block; ++i)
            block[i] = static_cast<uint8_t>(0xFF - i);
        record.deserialize(block);
        QVERIFY(record.profileName[0] == 0xFF && record.settings[0] == 0xFF - 8 &&
                record.settings[18] == 0xFF - 26);
        QCOMPARE(bytesOf(record), QByteArray(reinterpret_cast<const char *>(block), sizeof block));
        // The name stops at a zero and reads Latin-1.
        memcpy(record.profileName, "AB\0\0\0\0\0\0", 8);
        QCOMPARE(record.displayName(), QStringLiteral("AB"));
        memcpy(record.profileName, "ABCDEFG\xC9", 8); // É in Latin-1
        QCOMPARE(record.displayName(), QString::fromUtf8("ABCDEFGÉ"));
    }

    void fieldsChangeOnlyTheirOwnBits()
    {
        ConfigRecord record = {};
        record.initialise();
        record.set(Field::keyboardSpeed, 1); // 0xF7 -> 0x77
        QCOMPARE(record.settings[1], uint8_t(0x77));
        QCOMPARE(record.get(Field::keyboardSpeed), 1u);
        record.set(Field::parity, 2); // 0xD2 -> 0xE2
        QCOMPARE(record.settings[0], uint8_t(0xE2));
        record.set(Field::baudCode, 0x1F); // only the low four bits land
        QCOMPARE(record.settings[0], uint8_t(0xEF));
        record.settings[18] = 0xFC;
        record.set(Field::ackNak, 1);
        record.set(Field::bccEnabled, 0);
        QCOMPARE(record.settings[18], uint8_t(0xFD));
        QCOMPARE(record.get(Field::cdcInterface), 0u);
        record.set(Field::cdcInterface, 1);
        QCOMPARE(record.settings[3], uint8_t(0xC4));
    }

    void characterListItemsAndCodes()
    {
        const std::tuple<int, uint8_t, const char *> items[] = {
            {0, 0x00, "NULL"}, {1, 0x09, "TAB"}, {2, 0x0D, "ENTER"}, {3, 0x20, "SPACE"},
            {4, 0x21, "!"},    {33, 0x3E, ">"},  {97, 0x7E, "~"},    {98, 0x7F, "BCKSPC"}};
        for (const auto &[position, code, text] : items) {
            QCOMPARE(characterListItem(position), QLatin1String(text));
            QCOMPARE(listIndexToChar(position), code);
            QCOMPARE(charToListIndex(code), position);
        }
        // Codes without an item select nothing, but 0x1D to 0x1F show as
        // NULL, TAB, ENTER without being those codes.
        for (int code = 0; code < 256; ++code) {
            const bool listed =
                code == 0 || code == 9 || code == 0x0D || (code >= 0x1D && code <= 0x7F);
            const int position = charToListIndex(uint8_t(code));
            QCOMPARE(position >= 0 && position < CHARACTER_LIST_SIZE, listed);
            if (listed && code >= 0x20)
                QCOMPARE(int(listIndexToChar(position)), code);
        }
        QCOMPARE(charToListIndex(0x1E), 1);
        QCOMPARE(listIndexToChar(-1), uint8_t(0x1C));
    }

    // Two records decode alike exactly when their bytes are equal: every bit
    // of the 27 bytes shows in one decoded field, and in one only.
    void everyBitShowsInExactlyOneDecodedField()
    {
        ConfigRecord base = {};
        base.initialise();
        base.markUserEdited();
        uint8_t bytes[CONFIG_SERIALIZED_SIZE];
        base.serialize(bytes);
        const QList<DecodedField> before = decodeConfig(base);
        for (size_t bit = 0; bit < CONFIG_SERIALIZED_SIZE * 8; ++bit) {
            ConfigRecord flipped = base;
            bytes[bit / 8] ^= uint8_t(1u << bit % 8);
            flipped.deserialize(bytes);
            bytes[bit / 8] ^= uint8_t(1u << bit % 8);
            const QList<DecodedField> after = decodeConfig(flipped);
            QStringList changed;
            for (qsizetype i = 0; i < after.size(); ++i)
                if (after[i].raw != before[i].raw)
                    changed << after[i].key;
            QVERIFY2(changed.size() == 1,
                     "bit " + QByteArray::number(bit) + ": " + changed.join(',').toLatin1());
        }
    }

    void decodedValuesUseTheFormsWords()
    {
        const std::tuple<int, uint8_t, const char *, const char *> rows[] = {
            {0, 0x08, "baudCode", "115200"},
            {0, 0x00, "baudCode", "0x00 (fora da lista)"},
            {0, 0x34, "parity", "0x03 (fora da lista)"},
            {0, 0x04, "sevenDataBits", "8 Bits"},
            {0, 0x84, "twoStopBits", "2 Stop Bits"},
            {1, 0x80, "keyboardSpeed", "70 toques por segundo"},
            {1, 0x00, "opticalMode", "Como digitado"},
            {2, 0x20, "trayModel", "Com bandeja"},
            {3, 0x80, "cdcInterface", "Serial"},
            {4, 0x01, "rereadsPlusOne", "0"},
            {4, 0x07, "rereadsPlusOne", "0x07 (fora da faixa)"},
            {9, 0x20, "utilityBillSeparator1", "SPACE"},
            {8, 0x1E, "bankSlipSeparator2", "0x1E (fora da lista)"},
            {17, 0xAB, "bccInitialValue", "AB"},
            {18, 0xF3, "reservedByte18Bits2to7", "60"},
            {16, 0x0A, "protocol", "STX-D-ETX (bytes 02 00 03 0A)"}};
        for (const auto &[byte, value, key, shown] : rows) {
            ConfigRecord record = {};
            record.initialise();
            record.settings[byte] = value;
            const QList<DecodedField> fields = decodeConfig(record);
            const auto field =
                std::find_if(fields.begin(), fields.end(),
                             [&](const DecodedField &f) { return f.key == QLatin1String(key); });
            QVERIFY2(field != fields.end() && field->value == QString::fromUtf8(shown), shown);
        }
    }
};

QTEST_APPLESS_MAIN(ConfigRecordTest)
#include "test_config_record.moc"
