#include "link/frame_codec.h"
#include "sim/reader_model.h"
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

// The answer payload as the configurator's codec decodes it; empty when the
// bytes hold no good frame.
QByteArray decoded(const QByteArray &answer)
{
    uint8_t storage[128], out[FRAME_MAX_PAYLOAD + 1];
    RingBuffer ring;
    ring_init(&ring, storage, sizeof storage);
    ring_put(&ring, reinterpret_cast<const uint8_t *>(answer.constData()), answer.size());
    FrameDescriptor descriptor;
    frame_descriptor_init(&descriptor);
    const int32_t n = frame_parse(&ring, out, &descriptor);
    return n > 0 ? QByteArray(reinterpret_cast<const char *>(out), n) : QByteArray();
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
    void answersEveryCommand()
    {
        ReaderModel reader;
        QCOMPARE(configurationOf(reader),
                 QByteArray("FABRICA", 8) + hex("D2F7C44402213F09090909000D0200030002 03"));
        QCOMPARE(send(reader, hex("0201CC03CE")), hex("0208CC30303030303100 03 C6"));
        QCOMPARE(decoded(send(reader, request(hex("AA")))), "\xAAVELORIX II 1.05" + hex("00"));
        QCOMPARE(decoded(send(reader, request(hex("EE")))), hex("EE") + configurationOf(reader));

        QByteArray cdc = QByteArray("USERCONF") + QByteArray(19, char(0x11));
        cdc[11] = char(0x80);
        QCOMPARE(send(reader, request(hex("DD") + cdc)), hex("0201DD03DF"));
        QCOMPARE(configurationOf(reader), cdc);
        QCOMPARE(reader.productId(), ReaderModel::PID_CDC);
        QCOMPARE(decoded(send(reader, request(hex("AB")))), hex("AB"));
        QCOMPARE(reader.productId(), ReaderModel::PID_KEYBOARD);
        QCOMPARE(configurationOf(reader), configurationOf(ReaderModel()));

        QCOMPARE(decoded(send(reader, request(hex("BB") + "123456"))), hex("BB"));
        QCOMPARE(QByteArray(reader.serialNumber), QByteArray("123456"));
        // Malformed or unknown requests are recorded and left unanswered.
        for (const QByteArray &bad : {hex("BB") + "12a456", hex("DD0102"), hex("11")})
            QCOMPARE(send(reader, request(bad)), QByteArray());
        QCOMPARE(QByteArray(reader.serialNumber), QByteArray("123456"));
        QCOMPARE(reader.requests.size(), size_t(9));
        QCOMPARE(reader.requests.back(), std::vector<uint8_t>{0x11});
        QCOMPARE(reader.strayBytes, size_t(0));

        // 0xFF is answered once; then the reader is gone.
        QCOMPARE(send(reader, request(hex("FF")) + request(hex("CC"))), hex("0201FF03FD"));
        QVERIFY(reader.dfuMode && !reader.present() && !reader.open());
        QCOMPARE(send(reader, request(hex("CC"))), QByteArray());
        QCOMPARE(reader.requests.size(), size_t(10));
    }

    void findsFramesInAnyPieces()
    {
        ReaderModel reader;
        const QByteArray frame = request(hex("CC"));
        for (char byte : frame.left(4))
            QCOMPARE(send(reader, QByteArray(1, byte)), QByteArray());
        QCOMPARE(decoded(send(reader, frame.right(1))), hex("CC") + "000001" + hex("00"));

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

    void faultsShapeTheAnswers()
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

        ReaderModel silent;
        silent.faults.silent = true;
        QCOMPARE(send(silent, request(hex("DD") + QByteArray(27, 'x'))), QByteArray());
        QCOMPARE(silent.requests.size(), size_t(1));
        QCOMPARE(configurationOf(silent), configurationOf(ReaderModel()));

        ReaderModel absent;
        absent.faults.absent = true;
        QVERIFY(!absent.present() && !absent.open());
        QCOMPARE(send(absent, cc), QByteArray());
        QVERIFY(absent.requests.empty());

        ReaderModel unplugging;
        unplugging.faults.unplugAfterOpens = 2;
        QVERIFY(unplugging.open() && unplugging.open());
        QVERIFY(!unplugging.open() && !unplugging.present() && !unplugging.open());
        QCOMPARE(unplugging.opens, 2);
    }

    void answersThatDoNotFitAreLeftOut()
    {
        ReaderModel reader;
        QCOMPARE(send(reader, request(hex("AA")) + request(hex("AB")), 10), hex("0201AB03A9"));
        QCOMPARE(reader.requests.size(), size_t(2));
        // The firmware text is cut to what one answer frame can carry.
        reader.firmwareVersion = std::string(100, 'v');
        const QByteArray answer = decoded(send(reader, request(hex("AA"))));
        QCOMPARE(answer.size(), 60);
        QCOMPARE(answer.back(), '\0');
    }

    // What a reader stores between runs of the simulated HID library.
    void stateSurvivesSaveAndLoad()
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
    }

    void unusableFilesLeaveTheReaderAlone()
    {
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
        ReaderModel reader;
        QVERIFY(!reader_state_load(reader, "/nonexistent/reader.state"));
    }
};

QTEST_GUILESS_MAIN(ReaderModelTest)
#include "test_reader_model.moc"
