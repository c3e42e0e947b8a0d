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
    void initialisedRecordSerializesNameThenDefaults()
    {
        ConfigRecord record;
        memset(&record, 0xEE, sizeof record);
        memset(record.profileName, 0, sizeof record.profileName);
        record.initialise();
        QCOMPARE(bytesOf(record).toHex(' '),
                 QByteArray("00 00 00 00 00 00 00 00 d2 f7 c4 44 02 21 3f 09 09 09 09 00 0d 02 "
                            "00 03 00 02 03"));
    }

    void markingWritesExactlyEightLetters()
    {
        ConfigRecord record = {};
        record.initialise();
        record.markUserEdited();
        const QByteArray bytes = bytesOf(record);
        QCOMPARE(bytes.left(8), QByteArray("USERCONF"));
        QCOMPARE(bytes.mid(8), QByteArray(reinterpret_cast<const char *>(DEFAULT_SETTINGS), 19));
        QCOMPARE(record.displayName(), QStringLiteral("USERCONF"));
    }

    void deserializeTakesBytesAsTheyAre()
    {
        uint8_t block[CONFIG_SERIALIZED_SIZE];
        for (size_t i = 0; i < sizeof block; ++i)
            block[i] = static_cast<uint8_t>(0xFF - i);
        ConfigRecord record = {};
        record.deserialize(block);
        QCOMPARE(record.profileName[0], uint8_t(0xFF));
        QCOMPARE(record.settings[0], uint8_t(0xFF - 8));
        QCOMPARE(record.settings[18], uint8_t(0xFF - 26));
        QCOMPARE(bytesOf(record), QByteArray(reinterpret_cast<const char *>(block), sizeof block));
    }

    void displayNameStopsAtZeroAndReadsLatin1()
    {
        ConfigRecord record = {};
        memcpy(record.profileName, "AB\0\0\0\0\0\0", 8);
        QCOMPARE(record.displayName(), QStringLiteral("AB"));
        memcpy(record.profileName, "ABCDEFGH", 8);
        QCOMPARE(record.displayName(), QStringLiteral("ABCDEFGH"));
        record.profileName[7] = 0xC9; // É in Latin-1
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

    void listPositionsAndCodesRoundTrip()
    {
        for (int position = 0; position < CHARACTER_LIST_SIZE; ++position)
            QCOMPARE(charToListIndex(listIndexToChar(position)), position);
        QList<int> codes = {0x00, 0x09, 0x0D};
        for (int code = 0x20; code <= 0x7F; ++code)
            codes << code;
        for (int code : codes)
            QCOMPARE(int(listIndexToChar(charToListIndex(uint8_t(code)))), code);
    }

    void codesWithoutAnItemSelectNothingOrAnAlias()
    {
        for (int code = 0; code < 256; ++code) {
            const bool listed =
                code == 0 || code == 9 || code == 0x0D || (code >= 0x1D && code <= 0x7F);
            const int position = charToListIndex(uint8_t(code));
            QCOMPARE(position >= 0 && position < CHARACTER_LIST_SIZE, listed);
        }
        // 0x1D to 0x1F show as NULL, TAB, ENTER without being those codes.
        QCOMPARE(charToListIndex(0x1E), 1);
        QCOMPARE(listIndexToChar(-1), uint8_t(0x1C));
    }

    void itemTexts()
    {
        QCOMPARE(characterListItem(0), QStringLiteral("NULL"));
        QCOMPARE(characterListItem(1), QStringLiteral("TAB"));
        QCOMPARE(characterListItem(2), QStringLiteral("ENTER"));
        QCOMPARE(characterListItem(3), QStringLiteral("SPACE"));
        QCOMPARE(listIndexToChar(3), uint8_t(0x20));
        QCOMPARE(characterListItem(4), QStringLiteral("!"));
        QCOMPARE(characterListItem(33), QStringLiteral(">"));
        QCOMPARE(listIndexToChar(33), uint8_t(0x3E));
        QCOMPARE(characterListItem(97), QStringLiteral("~"));
        QCOMPARE(characterListItem(98), QStringLiteral("BCKSPC"));
        QCOMPARE(listIndexToChar(98), uint8_t(0x7F));
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
        for (size_t byte = 0; byte < CONFIG_SERIALIZED_SIZE; ++byte) {
            for (int bit = 0; bit < 8; ++bit) {
                ConfigRecord flipped = base;
                bytes[byte] ^= uint8_t(1u << bit);
                flipped.deserialize(bytes);
                bytes[byte] ^= uint8_t(1u << bit);
                const QList<DecodedField> after = decodeConfig(flipped);
                QStringList changed;
                for (qsizetype i = 0; i < after.size(); ++i)
                    if (after[i].raw != before[i].raw)
                        changed << after[i].key;
                QVERIFY2(changed.size() == 1, qPrintable(QStringLiteral("byte %1 bit %2: %3")
                                                             .arg(byte)
                                                             .arg(bit)
                                                             .arg(changed.join(','))));
            }
        }
    }

    void decodedValuesUseTheFormsWords_data()
    {
        QTest::addColumn<int>("settingByte");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("shown");
        auto row = [](const char *name, int byte, int value, const char *key, const char *shown) {
            QTest::newRow(name) << byte << value << QString::fromLatin1(key)
                                << QString::fromUtf8(shown);
        };
        row("9600", 0, 0x04, "baudCode", "9600");
        row("115200", 0, 0x08, "baudCode", "115200");
        row("speed code 0", 0, 0x00, "baudCode", "0x00 (fora da lista)");
        row("odd", 0, 0x14, "parity", "Ímpar");
        row("parity 3", 0, 0x34, "parity", "0x03 (fora da lista)");
        row("8 bits", 0, 0x04, "sevenDataBits", "8 Bits");
        row("2 stop bits", 0, 0x84, "twoStopBits", "2 Stop Bits");
        row("speed 70", 1, 0x80, "keyboardSpeed", "70 toques por segundo");
        row("as typed", 1, 0x00, "opticalMode", "Como digitado");
        row("tray", 2, 0x20, "trayModel", "Com bandeja");
        row("serial", 3, 0x80, "cdcInterface", "Serial");
        row("no rereads", 4, 0x01, "rereadsPlusOne", "0");
        row("rereads 7", 4, 0x07, "rereadsPlusOne", "0x07 (fora da faixa)");
        row("tab", 7, 0x09, "bankSlipSeparator1", "TAB");
        row("space", 9, 0x20, "utilityBillSeparator1", "SPACE");
        row("looks like TAB", 8, 0x1E, "bankSlipSeparator2", "0x1E (fora da lista)");
        row("bcc", 17, 0xAB, "bccInitialValue", "AB");
        row("reserved", 18, 0xF3, "reservedByte18Bits2to7", "60");
        row("cr-lf", 16, 0x0A, "protocol", "STX-D-ETX (bytes 02 00 03 0A)");
    }

    void decodedValuesUseTheFormsWords()
    {
        QFETCH(int, settingByte);
        QFETCH(int, value);
        QFETCH(QString, key);
        QFETCH(QString, shown);
        ConfigRecord record = {};
        record.initialise();
        record.settings[settingByte] = uint8_t(value);
        for (const DecodedField &field : decodeConfig(record))
            if (field.key == key)
                QCOMPARE(field.value, shown);
    }
};

QTEST_APPLESS_MAIN(ConfigRecordTest)
#include "test_config_record.moc"
