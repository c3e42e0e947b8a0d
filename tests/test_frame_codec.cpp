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

// One ring of the given size with the configurator's descriptor, fed and
// parsed the way the links do it.
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
        ring_put(&ring, bytes(data), data.size());
        return frame_parse(&ring, out, &descriptor);
    }

    QByteArray payload(int n) const { return QByteArray(reinterpret_cast<const char *>(out), n); }

    QByteArray storage;
    RingBuffer ring;
    FrameDescriptor descriptor;
    uint8_t out[FRAME_MAX_PAYLOAD + 2];
};

// The frame as it lies in a fresh ring of 64 bytes.
QByteArray encoded(const QByteArray &payload)
{
    uint8_t storage[64];
    RingBuffer ring;
    ring_init(&ring, storage, sizeof storage);
    FrameDescriptor descriptor;
    frame_descriptor_init(&descriptor);
    if (frame_encode(&ring, &descriptor, bytes(payload), payload.size()) != 0)
        return {};
    const size_t n = (ring.flags & RING_FULL) ? sizeof storage : ring.write - ring.begin;
    return QByteArray(reinterpret_cast<const char *>(storage), n);
}

void verifyRearmed(const FrameDescriptor &d)
{
    QCOMPARE(d.state, FRAME_STATE_HEADER);
    QCOMPARE(d.count, 0);
    QCOMPARE(d.cursor, 0);
    QCOMPARE(d.check, uint8_t(0x02));
}
} // namespace

class FrameCodecTest : public QObject
{
    Q_OBJECT

private slots:
    void encodesAndParsesTheReaderFrames()
    {
        QCOMPARE(encoded(hex("AA")), hex("0201AA03A8"));
        QCOMPARE(encoded(hex("CC")), hex("0201CC03CE"));
        QCOMPARE(encoded(hex("FF")), hex("0201FF03FD"));
        QCOMPARE(encoded(QByteArray("\xBB"
                                    "000123")),
                 hex("0207BB30303031323303BF"));
        // A 0x03 or 0x02 inside a counted payload is ordinary payload.
        const QByteArray awkward = hex("0303020003");
        Receiver receiver;
        QCOMPARE(receiver.feed(encoded(awkward)), int32_t(awkward.size()));
        QCOMPARE(receiver.payload(static_cast<int>(awkward.size())), awkward);
        verifyRearmed(receiver.descriptor);
        QCOMPARE(receiver.descriptor.options, uint8_t(0xF0));
    }

    void encoderFillsTheRingExactlyOrWritesNothing()
    {
        uint8_t storage[64];
        memset(storage, 0xEE, sizeof storage);
        RingBuffer ring;
        FrameDescriptor descriptor;
        frame_descriptor_init(&descriptor);
        QByteArray payload(61, 'x');

        ring_init(&ring, storage, sizeof storage);
        QCOMPARE(frame_encode(&ring, &descriptor, bytes(payload), 61), FRAME_NO_ROOM);
        QCOMPARE(ring.flags, RING_EMPTY);
        QCOMPARE(ring.write, storage);
        QCOMPARE(storage[0], uint8_t(0xEE));
        QCOMPARE(frame_encode(&ring, &descriptor, bytes(payload), SIZE_MAX), FRAME_NO_ROOM);
        QCOMPARE(ring.flags, RING_EMPTY);

        QCOMPARE(frame_encode(&ring, &descriptor, bytes(payload), 60), 0);
        QCOMPARE(ring.flags, RING_FULL);
        QCOMPARE(ring.write, ring.read);
        QCOMPARE(storage[1], uint8_t(60));
        QCOMPARE(storage[62], uint8_t(0x03));
        uint8_t out[FRAME_MAX_PAYLOAD + 1];
        QCOMPARE(frame_parse(&ring, out, &descriptor), 60);
        QCOMPARE(ring.flags, RING_EMPTY);

        // A ring that already holds one byte leaves room for 60 payload bytes.
        ring_init(&ring, storage, sizeof storage);
        const uint8_t reportId = 0;
        ring_put(&ring, &reportId, 1);
        QCOMPARE(frame_encode(&ring, &descriptor, bytes(payload), 60), FRAME_NO_ROOM);
        QCOMPARE(frame_encode(&ring, &descriptor, bytes(payload), 59), 0);
        QCOMPARE(ring.flags, RING_FULL);
    }

    void ringPutReportsTheFirstRefusedByte()
    {
        uint8_t storage[4];
        RingBuffer ring;
        ring_init(&ring, storage, sizeof storage);
        const uint8_t data[6] = {1, 2, 3, 4, 5, 6};
        QCOMPARE(ring_put(&ring, data, 0), nullptr);
        QCOMPARE(ring.flags, RING_EMPTY);
        QCOMPARE(ring_put(&ring, data, 3), nullptr);
        QCOMPARE(ring.flags, uint8_t(0));
        QCOMPARE(ring_put(&ring, data + 3, 3), data + 4);
        QCOMPARE(ring.flags, RING_FULL);
        QCOMPARE(ring_put(&ring, data, 1), data);
        QCOMPARE(storage[3], uint8_t(4));

        // A ring without storage refuses the first byte instead of writing.
        uint8_t guard = 0xEE;
        ring_init(&ring, &guard, 0);
        QCOMPARE(ring_put(&ring, data, 1), data);
        QCOMPARE(guard, uint8_t(0xEE));
    }

    void noiseBeforeAFrameIsDropped()
    {
        Receiver receiver;
        QCOMPARE(receiver.feed(hex("550201AA03A8")), 1);
        QCOMPARE(receiver.out[0], uint8_t(0xAA));
        // Bytes of 0x80 and above never match the header.
        QCOMPARE(receiver.feed(hex("8282FF000201CC03CE")), 1);
        QCOMPARE(receiver.out[0], uint8_t(0xCC));
        verifyRearmed(receiver.descriptor);
        QCOMPARE(receiver.descriptor.options, uint8_t(0xF0));
        QCOMPARE(receiver.feed(hex("55AA0000")), 0);
        QCOMPARE(receiver.feed(QByteArray()), 0);
    }

    void brokenTrailerAndWrongCheckAreReported()
    {
        Receiver trailer;
        QCOMPARE(trailer.feed(hex("0201AA04")), -2);
        QCOMPARE(trailer.out[0], uint8_t(0xAA));
        QCOMPARE(trailer.descriptor.options, uint8_t(0xF0 | FRAME_TRAILER_ERROR));
        verifyRearmed(trailer.descriptor);
        // The next frame parses; the error flag stays set.
        QCOMPARE(trailer.feed(hex("0201CC03CE")), 1);
        QCOMPARE(trailer.descriptor.options, uint8_t(0xF0 | FRAME_TRAILER_ERROR));

        Receiver check;
        QCOMPARE(check.feed(hex("0201AA0300")), -2);
        QCOMPARE(check.out[0], uint8_t(0xAA));
        QCOMPARE(check.descriptor.options, uint8_t(0xF0 | FRAME_BCC_ERROR));
        verifyRearmed(check.descriptor);
        QCOMPARE(check.feed(hex("0203AABBCC0300")), -4);
    }

    void countedPayloadOverflowsAfterSixtyFourBytes()
    {
        for (int length : {0, 65, 100, 127, 0x80, 0xC0, 0xFF}) {
            Receiver receiver;
            QByteArray frame = hex("02");
            frame.append(char(length));
            frame.append(QByteArray(64, char(0x03)));
            QCOMPARE(receiver.feed(frame), 0);
            QCOMPARE(receiver.descriptor.count, 64);
            QCOMPARE(receiver.feed(hex("03")), FRAME_OVERFLOW);
            QCOMPARE(receiver.out[63], uint8_t(0x03));
            QCOMPARE(receiver.out[64], uint8_t(0xEE));
            verifyRearmed(receiver.descriptor);
        }
        // Sixty-four announced bytes are the most a frame can carry.
        QByteArray payload(64, char(0x41));
        uint8_t check = 64 ^ 0x03;
        QByteArray frame = hex("0240") + payload + hex("03") + QByteArray(1, char(check));
        Receiver receiver;
        QCOMPARE(receiver.feed(frame), 64);
        QCOMPARE(receiver.payload(64), payload);
        QCOMPARE(receiver.out[64], uint8_t(0xEE));
    }

    void framesShareARingAndArriveInPieces()
    {
        Receiver receiver(16);
        // Park the positions near the end so the next frames wrap around.
        QCOMPARE(receiver.feed(QByteArray(14, char(0x55))), 0);
        FrameDescriptor descriptor;
        frame_descriptor_init(&descriptor);
        const uint8_t aa = 0xAA, cc = 0xCC;
        QCOMPARE(frame_encode(&receiver.ring, &descriptor, &aa, 1), 0);
        QCOMPARE(frame_encode(&receiver.ring, &descriptor, &cc, 1), 0);
        QCOMPARE(frame_parse(&receiver.ring, receiver.out, &receiver.descriptor), 1);
        QCOMPARE(receiver.out[0], uint8_t(0xAA));
        QCOMPARE(frame_parse(&receiver.ring, receiver.out, &receiver.descriptor), 1);
        QCOMPARE(receiver.out[0], uint8_t(0xCC));
        QCOMPARE(frame_parse(&receiver.ring, receiver.out, &receiver.descriptor), 0);

        const QByteArray frame = hex("0203DD010203DE");
        for (int i = 0; i + 1 < frame.size(); ++i)
            QCOMPARE(receiver.feed(frame.mid(i, 1)), 0);
        QCOMPARE(receiver.feed(frame.right(1)), 3);
        QCOMPARE(receiver.payload(3), hex("DD0102"));
    }

    void framesWithoutLengthEndAtTheTrailer()
    {
        FrameDescriptor d = {"<S",
                             "E>",
                             0x00,
                             0,
                             0x00,
                             0,
                             FRAME_HEADER | FRAME_TRAILER | FRAME_BCC,
                             FRAME_STATE_HEADER};
        uint8_t storage[64], out[FRAME_MAX_PAYLOAD + 1];
        RingBuffer ring;
        ring_init(&ring, storage, sizeof storage);
        // Without a length the payload may hold anything but the trailer's first byte.
        const QByteArray payload("a><");
        QCOMPARE(frame_encode(&ring, &d, bytes(payload), payload.size()), 0);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(storage), 7), QByteArray("<Sa><E>"));
        QCOMPARE(frame_parse(&ring, out, &d), 3);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), 3), payload);
        // An empty frame ends with 0 and parsing goes on to the next one.
        QCOMPARE(frame_encode(&ring, &d, nullptr, 0), 0);
        QCOMPARE(frame_encode(&ring, &d, bytes(payload), 1), 0);
        QCOMPARE(frame_parse(&ring, out, &d), 1);
        QCOMPARE(out[0], uint8_t('a'));

        // Without a check byte the payload is delivered zero-terminated.
        d.options = FRAME_HEADER | FRAME_TRAILER;
        ring_put(&ring, reinterpret_cast<const uint8_t *>("<SxyE>"), 6);
        QCOMPARE(frame_parse(&ring, out, &d), 2);
        QCOMPARE(out[2], uint8_t(0));
        ring_put(&ring, reinterpret_cast<const uint8_t *>("<SxyEz"), 6);
        QCOMPARE(frame_parse(&ring, out, &d), -3);
        QCOMPARE(d.options, uint8_t(FRAME_HEADER | FRAME_TRAILER | FRAME_TRAILER_ERROR));
    }
};

QTEST_GUILESS_MAIN(FrameCodecTest)
#include "test_frame_codec.moc"
