#include "sim/reader_state.h"

#include <QTemporaryDir>
#include <QTest>

class ReaderStateTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("reader.state")).toLocal8Bit();

    static QByteArray bytes(const uint8_t *data)
    {
        return QByteArray(reinterpret_cast<const char *>(data), ReaderModel::CONFIG_SIZE);
    }

private slots:
    void stateSurvivesSaveAndLoad()
    {
        ReaderModel written;
        for (size_t i = 0; i < ReaderModel::CONFIG_SIZE; ++i)
            written.configuration[i] = static_cast<uint8_t>(0xF0 + i);
        memcpy(written.serialNumber, "004711", 7);
        QVERIFY(reader_state_save(written, path.constData()));
        ReaderModel read;
        QVERIFY(reader_state_load(read, path.constData()));
        QCOMPARE(bytes(read.configuration), bytes(written.configuration));
        QCOMPARE(QByteArray(read.serialNumber), QByteArray("004711"));
        // The factory configuration is the reader's own and is not stored.
        QCOMPARE(bytes(read.factoryConfiguration), bytes(ReaderModel().factoryConfiguration));
    }

    void unusableFilesLeaveTheReaderAlone()
    {
        for (const QByteArray &content :
             {QByteArray(), QByteArray("configuration=00\nserial=000001\n"),
              "configuration=" + QByteArray(54, 'G') + "\nserial=000001\n",
              "configuration=" + QByteArray(54, 'A') + "\nserial=12a456\n"}) {
            QFile file(QString::fromLocal8Bit(path));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            file.close();
            ReaderModel reader;
            QVERIFY2(!reader_state_load(reader, path.constData()), content);
            QCOMPARE(QByteArray(reader.serialNumber), QByteArray("000001"));
        }
        ReaderModel reader;
        QVERIFY(!reader_state_load(reader, "/nonexistent/reader.state"));
    }
};

QTEST_APPLESS_MAIN(ReaderStateTest)
#include "test_reader_state.moc"
