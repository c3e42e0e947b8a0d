#include "config/character_lists.h"
#include "config/config_record.h"

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
};

QTEST_APPLESS_MAIN(ConfigRecordTest)
#include "test_config_record.moc"
