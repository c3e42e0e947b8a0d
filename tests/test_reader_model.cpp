#include "link/frame_codec.h"
#include "sim/document_read.h"
#include "sim/reader_state.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const auto hex = [](const char *text) { return QByteArray::fromHex(text); };

// The host's side: frames built with the configurator's codec.
QByteArray request(const QByteArray &payload)
{
    uint8_t storage[64];
    RingBuffer ring;
    ring_init(&ring, storage, sizeof storage);
    FrameDescriptor descriptor;
    frame_descriptor_init(&descriptor);
    frame_encode(&ring, &descriptor, reinterpret_cast<const uint8_t *>(payload.constData()),
                 payload.size());
    return QByteArray(reinterpret_cast<const char *>(storage), payload.size() + 4);
}

QByteArray send(ReaderModel &reader, const QByteArray &bytes, size_t capacity = 256)
{
    uint8_t answer[256];
    const size_t n = reader.receive(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                    bytes.size(), answer, capacity);
    return QByteArray(reinterpret_cast<const char *>(answer), n);
}

const auto configurationOf = [](const ReaderModel &r) {
    return QByteArray(reinterpret_cast<const char *>(r.configuration), 27);
};
} // namespace

class ReaderModelTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    const QByteArray statePath = dir.filePath(QStringLiteral("reader.state")).toLocal8Bit();

private slots:
    // The plain answers are seen through the command and CLI suites; here what they do not see.
    void recordsRequestsAndFindsFrames()
    {
        ReaderModel reader;
        QByteArray cdc = QByteArray("USERCONF") + QByteArray(19, char(0x11));
        cdc[11] = char(0x80);
        QCOMPARE(send(reader, request(hex("DD") + cdc)), hex("0201DD03DF"));
        QCOMPARE(reader.productId(), ReaderModel::PID_CDC);
        QCOMPARE(send(reader, request(hex("AB"))), hex("0201AB03A9"));
        QCOMPARE(reader.productId(), ReaderModel::PID_KEYBOARD);
        QCOMPARE(configurationOf(reader), configurationOf(ReaderModel()));

        QCOMPARE(send(reader, request(hex("BB") + "123456")), hex("0201BB03B9"));
        // Malformed or unknown requests are recorded and left unanswered.
        for (const QByteArray &bad : {hex("BB") + "12a456", hex("DD0102"), hex("11")})
            QCOMPARE(send(reader, request(bad)), QByteArray());
        QCOMPARE(QByteArray(reader.serialNumber), QByteArray("123456"));
        QCOMPARE(reader.requests.size(), size_t(6));
        QCOMPARE(reader.requests.back(), std::vector<uint8_t>{0x11});
        QCOMPARE(reader.strayBytes, size_t(0));

        // Frames are found in any pieces.
        reader = ReaderModel();
        const QByteArray frame = request(hex("CC"));
        for (char byte : frame.left(4))
            QCOMPARE(send(reader, QByteArray(1, byte)), QByteArray());
        QCOMPARE(send(reader, frame.right(1)), hex("0208CC30303030303100 03 C6"));

        // Two frames at once, and frames behind noise and broken frames.
        QCOMPARE(send(reader, request(hex("AB")) + request(hex("FF")) + request(hex("AA"))),
                 hex("0201AB03A9 0201FF03FD"));
        QCOMPARE(reader.strayBytes, size_t(0));
        // A broken frame gives up only its start byte: the frame behind is found.
        reader = ReaderModel();
        QCOMPARE(send(reader, hex("55 02 0201AB03A9")), hex("0201AB03A9"));
        QCOMPARE(reader.strayBytes, size_t(2));
        QCOMPARE(send(reader, hex("02000303 023D 0201AB03A8 0201AB03")), QByteArray());
        QCOMPARE(reader.strayBytes, size_t(2 + 4 + 2 + 5));
        QCOMPARE(send(reader, hex("A9")), hex("0201AB03A9"));
        for (const char *piece : {"0201AB", "03A9"}) {
            reader.dropPartialFrame();
            QCOMPARE(send(reader, hex(piece)), QByteArray());
        }
        QCOMPARE(reader.strayBytes, size_t(13 + 3 + 2));
        QCOMPARE(reader.requests.size(), size_t(2));
    }

    void faultsAndRoomShapeTheAnswers()
    {
        const QByteArray cc = request(hex("CC"));
        const std::pair<void (*)(ReaderFaults &), const char *> faulty[] = {
            {[](ReaderFaults &f) { f.wrongEcho = true; }, "0208CD30303030303100 03 C7"},
            {[](ReaderFaults &f) { f.wrongCheck = true; }, "0208CC30303030303100 03 39"},
            {[](ReaderFaults &f) { f.brokenTrailer = true; }, "0208CC30303030303100 04 C6"},
            {[](ReaderFaults &f) { f.noiseBeforeFrame = true; },
             "55A500 0208CC30303030303100 03 C6"},
            {[](ReaderFaults &f) { f.emptyPayload = true; }, "02000303"},
            {[](ReaderFaults &f) { f.shortAnswer = 2; }, "0202CC3003FD"},
            {[](ReaderFaults &f) { f.shortAnswer = 0; }, "02000303"},
        };
        for (const auto &[setFault, answer] : faulty) {
            ReaderModel reader;
            setFault(reader.faults);
            QVERIFY2(send(reader, cc) == hex(answer), answer);
        }

        // Answers that do not fit are left out.
        ReaderModel reader;
        QCOMPARE(send(reader, request(hex("AA")) + request(hex("AB")), 10), hex("0201AB03A9"));
        QCOMPARE(reader.requests.size(), size_t(2));
        // The firmware text is cut to what one answer frame can carry.
        reader.firmwareVersion = std::string(100, 'v');
        QCOMPARE(send(reader, request(hex("AA"))),
                 hex("023CAA") + QByteArray(58, 'v') + hex("00 03 95"));
    }

    // A cheque framed STX ... ETX, its block check started from byte 17 of the settings.
    void documentWithBlockCheck()
    {
        uint8_t configuration[ReaderModel::CONFIG_SIZE] = {};
        const uint8_t settings[] = {0, 0, 0x01, 0,    0, 0,    0, 0,    0,   0,
                                    0, 0, '\t', 0x02, 0, 0x03, 0, 0x55, 0x02};
        memcpy(configuration + 8, settings, sizeof settings);
        uint8_t document[DOCUMENT_MAX_SIZE];
        const size_t n = document_read(configuration, document);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(document), qsizetype(n)),
                 "\x02"
                 "00100011\t0180000145\t800000000013\x03\x54");
    }

    // What a reader stores between runs of the simulated HID library.
    void stateFiles()
    {
        ReaderModel written;
        for (size_t i = 0; i < ReaderModel::CONFIG_SIZE; ++i)
            written.configuration[i] = static_cast<uint8_t>(0xF0 + i);
        memcpy(written.serialNumber, "004711", 7);
        QVERIFY(reader_state_save(written, statePath.constData()));
        ReaderModel read;
        QVERIFY(reader_state_load(read, statePath.constData()));
        QCOMPARE(configurationOf(read), configurationOf(written));
        QCOMPARE(QByteArray(read.serialNumber), QByteArray("004711"));
        // The factory configuration is the reader's own and is not stored.
        QCOMPARE(QByteArray(reinterpret_cast<char *>(read.factoryConfiguration), 27),
                 QByteArray(reinterpret_cast<char *>(ReaderModel().factoryConfiguration), 27));

        // Unusable files leave the reader alone.
        for (const QByteArray &content :
             {QByteArray(), QByteArray("configuration=00\nserial=000001\n"),
              "configuration=" + QByteArray(54, 'G') + "\nserial=000001\n",
              "configuration=" + QByteArray(54, 'A') + "\nserial=12a456\n"}) {
            QFile file(QString::fromLocal8Bit(statePath));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            file.close();
            ReaderModel reader;
            QVERIFY2(!reader_state_load(reader, statePath.constData()), content);
            QCOMPARE(QByteArray(reader.serialNumber), QByteArray("000001"));
        }
        QVERIFY(!reader_state_load(read, "/nonexistent/reader.state"));
    }
};

QTEST_GUILESS_MAIN(ReaderModelTest)
#include "test_reader_model.moc"
