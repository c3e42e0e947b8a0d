#include "sim/reader_state.h"

#include <QTemporaryDir>
#include <QTest>

class ReaderStateTest : public QObject
{
    Q_OBJECT

private slots:
    void stateSurvivesSaveAndLoad()
    {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath(QStringLiteral("reader.state")).toLocal8Bit();
        ReaderModel written;
        for (size_t i = 0; i < ReaderModel::CONFIG_SIZE; ++i)
            written.configuration[i] = static_cast<uint8_t>(0xF0 + i);
        memcpy(written.serialNumber, "004711", 7);
        QVERIFY(reader_state_save(written, path.constData()));

        ReaderModel read;
        QVERIFY(reader_state_load(read, path.constData()));
        QCOMPARE(QByteArray(reinterpret_cast<char *>(read.configuration), 27),
                 QByteArray(reinterpret_cast<char *>(written.configuration), 27));
        QCOMPARE(QByteArray(read.serialNumber), QByteArray("004711"));
        // The factory configuration is the reader's own and is not stored.
        QCOMPARE(QByteArray(reinterpret_cast<char *>(read.factoryConfiguration), 27),
                 QByteArray(reinterpret_cast<char *>(ReaderModel().factoryConfiguration), 27));
    }

    void unusableFilesLeaveTheReaderAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reader.state"));
        const QByteArray contents[] = {
            "",
            "configuration=00\nserial=000001\n",
            "configuration=" + QByteArray(54, 'G') + "\nserial=000001\n",
            "configuration=" + QByteArray(54, 'A') + "\nserial=12a456\n",
        };
        for (const QByteArray &content : contents) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
            file.close();
            ReaderModel reader;
            QVERIFY2(!reader_state_load(reader, path.toLocal8Bit().constData()), content);
            QCOMPARE(QByteArray(reader.serialNumber), QByteArray("000001"));
        }
        ReaderModel reader;
        QVERIFY(!reader_state_load(reader, "/nonexistent/reader.state"));
    }
};

QTEST_APPLESS_MAIN(ReaderStateTest)
#include "test_reader_state.moc"
