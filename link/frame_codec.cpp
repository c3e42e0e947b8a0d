#include "link/frame_codec.h"

#include <cstring>

namespace {
const char CONFIGURATOR_HEADER[] = "\x02";
const char CONFIGURATOR_TRAILER[] = "\x03";
constexpr uint8_t CONFIGURATOR_SEED = 0x02;
constexpr uint8_t CONFIGURATOR_OPTIONS = FRAME_HEADER | FRAME_TRAILER | FRAME_BCC | FRAME_LENGTH;

size_t ring_capacity(const RingBuffer *ring)
{
    return static_cast<size_t>(ring->end - ring->begin);
}

size_t ring_free(const RingBuffer *ring)
{
    if (ring->write == ring->read)
        return (ring->flags & RING_EMPTY) != 0 ? ring_capacity(ring) : 0;
    ptrdiff_t space = ring->read - ring->write;
    if (space < 0)
        space += static_cast<ptrdiff_t>(ring_capacity(ring));
    return static_cast<size_t>(space);
}

// A ring without storage refuses everything rather than write at its end.
bool ring_store(RingBuffer *ring, uint8_t byte)
{
    if (((ring->flags & RING_FULL) != 0) || ring->begin == ring->end)
        return false;
    *ring->write = byte;
    if (++ring->write == ring->end)
        ring->write = ring->begin;
    if (ring->write == ring->read)
        ring->flags |= RING_FULL;
    ring->flags &= static_cast<uint8_t>(~RING_EMPTY);
    return true;
}

uint8_t ring_take(RingBuffer *ring)
{
    const uint8_t byte = *ring->read;
    if (++ring->read == ring->end)
        ring->read = ring->begin;
    if (ring->read == ring->write)
        ring->flags |= RING_EMPTY;
    ring->flags &= static_cast<uint8_t>(~RING_FULL);
    return byte;
}

// Header and trailer bytes are compared as signed bytes, so a received byte
// of 0x80 or more never matches; the terminating zero never matches either.
bool text_matches(const char *text, int32_t cursor, uint8_t byte)
{
    if (!text)
        return false;
    const int8_t expected = static_cast<int8_t>(text[cursor]);
    return expected != 0 && static_cast<int8_t>(byte) == expected;
}

bool text_done(const char *text, int32_t cursor)
{
    return text[cursor] == '\0';
}

size_t text_length(const char *text)
{
    return text ? strlen(text) : 0;
}

void frame_rearm(FrameDescriptor *d)
{
    if ((d->options & FRAME_BCC) != 0)
        d->check = d->checkSeed;
    d->count = 0;
    d->cursor = 0;
    d->state = (d->options & FRAME_HEADER) != 0 ? FRAME_STATE_HEADER : FRAME_STATE_PAYLOAD;
}

// The end of the payload is recognised: wait for the check byte, or deliver.
int32_t frame_complete(FrameDescriptor *d, uint8_t *out)
{
    if ((d->options & FRAME_BCC) != 0) {
        d->state = FRAME_STATE_CHECK;
        return 0;
    }
    out[d->count] = 0;
    const int32_t result = d->count;
    frame_rearm(d);
    return result;
}

int32_t frame_fail(FrameDescriptor *d, uint8_t errorFlag)
{
    const int32_t result = -(d->count + 1);
    d->options |= errorFlag;
    frame_rearm(d);
    return result;
}

int32_t frame_overflow(FrameDescriptor *d)
{
    frame_rearm(d);
    return FRAME_OVERFLOW;
}

void parse_header(FrameDescriptor *d, uint8_t b)
{
    if (!text_matches(d->header, d->cursor, b)) {
        // The byte is dropped, not tried again as the first header byte.
        d->cursor = 0;
        if ((d->options & FRAME_BCC) != 0)
            d->check = d->checkSeed;
        return;
    }
    if (!text_done(d->header, ++d->cursor))
        return;
    d->cursor = 0;
    d->state = (d->options & FRAME_LENGTH) != 0 ? FRAME_STATE_LENGTH : FRAME_STATE_PAYLOAD;
}

int32_t parse_payload(FrameDescriptor *d, uint8_t *out, uint8_t b)
{
    if (text_matches(d->trailer, d->cursor, b)) {
        if (text_done(d->trailer, ++d->cursor))
            return frame_complete(d, out);
        d->state = FRAME_STATE_TRAILER;
        return 0;
    }
    if (d->count >= FRAME_MAX_PAYLOAD)
        return frame_overflow(d);
    out[d->count++] = b;
    return 0;
}

int32_t parse_trailer(FrameDescriptor *d, uint8_t *out, uint8_t b)
{
    if (!text_matches(d->trailer, d->cursor, b))
        return frame_fail(d, FRAME_TRAILER_ERROR);
    if (text_done(d->trailer, ++d->cursor))
        return frame_complete(d, out);
    return 0;
}

int32_t parse_check(FrameDescriptor *d)
{
    if (d->check != 0)
        return frame_fail(d, FRAME_BCC_ERROR);
    const int32_t result = d->count;
    frame_rearm(d);
    return result;
}

// A length of 0 or of 0x80 and above never counts down to zero, so such a
// payload runs into the overflow.
int32_t parse_counted(FrameDescriptor *d, uint8_t *out, uint8_t b)
{
    if (d->count >= FRAME_MAX_PAYLOAD)
        return frame_overflow(d);
    out[d->count++] = b;
    if (--d->cursor != 0)
        return 0;
    if ((d->options & FRAME_TRAILER) == 0)
        return frame_complete(d, out);
    d->state = FRAME_STATE_TRAILER;
    return 0;
}

int32_t parse_byte(FrameDescriptor *d, uint8_t *out, uint8_t b)
{
    switch (d->state) {
    case FRAME_STATE_HEADER:
        parse_header(d, b);
        return 0;
    case FRAME_STATE_PAYLOAD:
        return parse_payload(d, out, b);
    case FRAME_STATE_TRAILER:
        return parse_trailer(d, out, b);
    case FRAME_STATE_CHECK:
        return parse_check(d);
    case FRAME_STATE_LENGTH:
        // The length is signed on purpose (see parse_counted): 0x80 and above
        // never count down to zero.
        d->cursor = static_cast<int8_t>(b); // NOLINT(bugprone-signed-char-misuse)
        d->state = FRAME_STATE_COUNTED;
        return 0;
    case FRAME_STATE_COUNTED:
        return parse_counted(d, out, b);
    default:
        // A state the parser never sets: start over with the next frame.
        frame_rearm(d);
        return 0;
    }
}

void encode_byte(RingBuffer *ring, uint8_t byte, uint8_t *check)
{
    ring_store(ring, byte);
    *check ^= byte;
}

void encode_text(RingBuffer *ring, const char *text, uint8_t *check)
{
    for (; *text != 0; ++text)
        encode_byte(ring, static_cast<uint8_t>(*text), check);
}

size_t frame_overhead(const FrameDescriptor *d)
{
    size_t overhead = 0;
    if ((d->options & FRAME_HEADER) != 0)
        overhead += text_length(d->header);
    if ((d->options & FRAME_TRAILER) != 0)
        overhead += text_length(d->trailer);
    if ((d->options & FRAME_BCC) != 0)
        ++overhead;
    if ((d->options & FRAME_LENGTH) != 0)
        ++overhead;
    return overhead;
}
} // namespace

void ring_init(RingBuffer *ring, uint8_t *storage, size_t size)
{
    ring->begin = storage;
    ring->end = storage + size;
    ring->write = storage;
    ring->read = storage;
    ring->flags = RING_EMPTY;
}

const uint8_t *ring_put(RingBuffer *ring, const uint8_t *bytes, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (!ring_store(ring, bytes[i]))
            return bytes + i;
    }
    return nullptr;
}

int32_t frame_encode(RingBuffer *ring, const FrameDescriptor *descriptor, const uint8_t *payload,
                     size_t n)
{
    // Compared without adding, so a huge n cannot wrap around into "fits".
    const size_t overhead = frame_overhead(descriptor);
    const size_t space = ring_free(ring);
    if (overhead > space || n > space - overhead)
        return FRAME_NO_ROOM;
    uint8_t check = descriptor->checkSeed;
    if (((descriptor->options & FRAME_HEADER) != 0) && descriptor->header)
        encode_text(ring, descriptor->header, &check);
    if ((descriptor->options & FRAME_LENGTH) != 0)
        encode_byte(ring, static_cast<uint8_t>(n & 0xFF), &check);
    for (size_t i = 0; i < n; ++i)
        encode_byte(ring, payload[i], &check);
    if (((descriptor->options & FRAME_TRAILER) != 0) && descriptor->trailer)
        encode_text(ring, descriptor->trailer, &check);
    if ((descriptor->options & FRAME_BCC) != 0)
        ring_store(ring, check);
    return 0;
}

int32_t frame_parse(RingBuffer *ring, uint8_t *out, FrameDescriptor *descriptor)
{
    int32_t result = 0;
    while (result == 0 && ((ring->flags & RING_EMPTY) == 0)) {
        const uint8_t b = ring_take(ring);
        if ((descriptor->options & FRAME_BCC) != 0)
            descriptor->check ^= b;
        result = parse_byte(descriptor, out, b);
    }
    return result;
}

void frame_descriptor_init(FrameDescriptor *descriptor)
{
    descriptor->header = CONFIGURATOR_HEADER;
    descriptor->trailer = CONFIGURATOR_TRAILER;
    descriptor->checkSeed = CONFIGURATOR_SEED;
    descriptor->count = 0;
    descriptor->check = CONFIGURATOR_SEED;
    descriptor->cursor = 0;
    descriptor->options = CONFIGURATOR_OPTIONS;
    descriptor->state = FRAME_STATE_HEADER;
}
