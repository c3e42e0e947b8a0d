#include "link/frame_codec.h"

#include <QTest>

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const uint8_t *bytes(const QByteArray &data)
{
    return reinterpret_cast<const uint8_t *>(data.constData());
}

QByteArray text(const uint8_t *data, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(n));
}

struct Receiver
{
    explicit Receiver(size_t size = 128) : storage(size, char(0xEE))
    {
        ring_init(&ring, reinterpret_cast<uint8_t *>(storage.data()), size);
        frame_descriptor_init(&descriptor);
        memset(out, 0xEE, sizeof out);
    }

    int32_t feed(const QByteArray &data)
    {
        ring_put(&ring, bytes(data), static_cast<size_t>(data.size()));
        return frame_parse(&ring, out, &descriptor);
    }

    bool rearmed(uint8_t errors = 0) const
    {
        const FrameDescriptor &d = descriptor;
        return d.state == FRAME_STATE_HEADER && d.count == 0 && d.cursor == 0 && d.check == 0x02 &&
               d.options == (0xF0 | errors);
    }

    QByteArray storage;
    RingBuffer ring;
    FrameDescriptor descriptor;
    uint8_t out[FRAME_MAX_PAYLOAD + 2];
};
} // namespace

class FrameCodecTest : public QObject
{
    Q_OBJECT

private slots:
    void encodesAndParsesTheReaderFrames()
    {
        const struct
        {
            const char *payload, *frame;
        } cases[] = {{"AA", "0201AA03A8"},
                     {"FF", "0201FF03FD"},
                     {"BB303030313233", "0207BB30303031323303BF"},
                     // A 0x03 or 0x02 inside a counted payload is ordinary payload.
                     {"0303020003", "02050303020003 0307"}};
        for (const auto &c : cases) {
            Receiver receiver(64);
            const QByteArray payload = hex(c.payload), frame = hex(c.frame);
            QCOMPARE(frame_encode(&receiver.ring, &receiver.descriptor, bytes(payload),
                                  static_cast<size_t>(payload.size())),
                     0);
            QCOMPARE(receiver.storage.left(frame.size() + 1), frame + '\xEE');
            QVERIFY2(receiver.feed({}) == payload.size() &&
                         text(receiver.out, static_cast<size_t>(payload.size())) == payload &&
                         receiver.rearmed(),
                     c.frame);
        }
    }

    void parseReportsNoiseBrokenFramesAndOverflow()
    {
        // A bad frame leaves its error bit set and the next one parses; 0x80+ is never a header.
        const struct
        {
            const char *input;
            int32_t result;
            const char *payload;
            uint8_t errors;
        } cases[] = {
            {"550201AA03A8", 1, "AA", 0},
            {"8282FF000201CC03CE", 1, "CC", 0},
            {"55AA0000", 0, "", 0},
            {"", 0, "", 0},
            {"0201AA04", -2, "AA", FRAME_TRAILER_ERROR},
            {"0201AA0300", -2, "AA", FRAME_BCC_ERROR},
            {"0203AABBCC0300", -4, "AABBCC", FRAME_BCC_ERROR},
            {"0240 41414141414141414141414141414141 41414141414141414141414141414141"
             "41414141414141414141414141414141 41414141414141414141414141414141 0343",
             64, "", 0},
        };
        for (const auto &c : cases) {
            Receiver receiver;
            QVERIFY2(receiver.feed(hex(c.input)) == c.result, c.input);
            const QByteArray payload = c.result == 64 ? QByteArray(64, 'A') : hex(c.payload);
            QVERIFY2(text(receiver.out, 65) == payload + QByteArray(65 - payload.size(), '\xEE'),
                     c.input);
            QVERIFY2(receiver.rearmed(c.errors), c.input);
            QVERIFY2(receiver.feed(hex("0201CC03CE")) == 1 && receiver.out[0] == 0xCC, c.input);
            QVERIFY2(receiver.rearmed(c.errors), c.input);
        }
        for (int length : {0, 65, 100, 127, 0x80, 0xC0, 0xFF}) {
            Receiver receiver;
            QCOMPARE(receiver.feed(hex("02") + char(length) + QByteArray(64, char(0x03))), 0);
            QVERIFY(receiver.descriptor.count == 64 && receiver.feed(hex("03")) == FRAME_OVERFLOW);
            QVERIFY(text(receiver.out + 63, 2) == hex("03EE") && receiver.rearmed());
        }
    }

    void encoderFillsTheRingExactlyOrWritesNothing()
    {
        Receiver receiver(64);
        RingBuffer &ring = receiver.ring;
        const QByteArray payload(61, 'x');
        for (size_t n : {size_t(61), SIZE_MAX})
            QCOMPARE(frame_encode(&ring, &receiver.descriptor, bytes(payload), n), FRAME_NO_ROOM);
        QVERIFY(ring.flags == RING_EMPTY && ring.write == ring.begin &&
                receiver.storage[0] == '\xEE');

        QCOMPARE(frame_encode(&ring, &receiver.descriptor, bytes(payload), 60), 0);
        QVERIFY(ring.flags == RING_FULL && ring.write == ring.read);
        QVERIFY(receiver.storage.mid(61, 2) == "x\x03" && receiver.storage.at(1) == 60);
        QVERIFY(frame_parse(&ring, receiver.out, &receiver.descriptor) == 60 &&
                ring.flags == RING_EMPTY);

        QCOMPARE(ring_put(&ring, bytes(payload), 1), nullptr);
        QCOMPARE(frame_encode(&ring, &receiver.descriptor, bytes(payload), 60), FRAME_NO_ROOM);
        QVERIFY(frame_encode(&ring, &receiver.descriptor, bytes(payload), 59) == 0 &&
                ring.flags == RING_FULL);

        Receiver small(4);
        ring = small.ring;
        const uint8_t data[6] = {1, 2, 3, 4, 5, 6};
        QVERIFY(ring_put(&ring, data, 0) == nullptr && ring.flags == RING_EMPTY);
        QVERIFY(ring_put(&ring, data, 3) == nullptr && ring.flags == 0);
        QVERIFY(ring_put(&ring, data + 3, 3) == data + 4 && ring.flags == RING_FULL);
        QVERIFY(ring_put(&ring, data, 1) == data && small.storage.at(3) == 4);

        uint8_t guard = 0xEE;
        ring_init(&ring, &guard, 0);
        QVERIFY(ring_put(&ring, data, 1) == data && guard == 0xEE);
    }

    void framesShareARingAndArriveInPieces()
    {
        Receiver receiver(16);
        // Positions parked near the end: the next frames wrap around.
        QCOMPARE(receiver.feed(QByteArray(14, char(0x55))), 0);
        for (uint8_t payload : {uint8_t(0xAA), uint8_t(0xCC)})
            QCOMPARE(frame_encode(&receiver.ring, &receiver.descriptor, &payload, 1), 0);
        for (uint8_t payload : {uint8_t(0xAA), uint8_t(0xCC)})
            QVERIFY(receiver.feed({}) == 1 && receiver.out[0] == payload);
        QCOMPARE(receiver.feed({}), 0);

        const QByteArray frame = hex("0203DD010203DE");
        for (int i = 0; i + 1 < frame.size(); ++i)
            QCOMPARE(receiver.feed(frame.mid(i, 1)), 0);
        QVERIFY(receiver.feed(frame.right(1)) == 3 && text(receiver.out, 3) == hex("DD0102"));
    }

    void framesWithoutLengthEndAtTheTrailer()
    {
        Receiver r(64);
        FrameDescriptor &d = r.descriptor;
        d = {"<S", "E>", 0, 0, 0, 0, FRAME_HEADER | FRAME_TRAILER | FRAME_BCC, FRAME_STATE_HEADER};
        // Without a length the payload may hold anything but the trailer's first byte.
        QVERIFY(frame_encode(&r.ring, &d, bytes("a><"), 3) == 0 && r.storage.left(7) == "<Sa><E>");
        QVERIFY(r.feed({}) == 3 && text(r.out, 3) == "a><");
        // An empty frame ends with 0 and parsing goes on to the next one.
        QVERIFY(frame_encode(&r.ring, &d, nullptr, 0) == 0 &&
                frame_encode(&r.ring, &d, bytes("a"), 1) == 0);
        QVERIFY(r.feed({}) == 1 && r.out[0] == 'a');

        // Without a check byte the payload is delivered zero-terminated.
        d.options = FRAME_HEADER | FRAME_TRAILER;
        QVERIFY(r.feed("<SxyE>") == 2 && r.out[2] == 0);
        QCOMPARE(r.feed("<SxyEz"), -3);
        QCOMPARE(d.options, uint8_t(FRAME_HEADER | FRAME_TRAILER | FRAME_TRAILER_ERROR));
    }
};

QTEST_GUILESS_MAIN(FrameCodecTest)
#include "test_frame_codec.moc"
