#pragma once
// The frame codec: every request to the reader and every answer from it is
// one frame (start string, length byte, payload, end string, XOR check byte).
// The codec writes frames into a byte ring and takes them out again one byte
// at a time. It allocates nothing: storage, descriptor, header and trailer
// strings and the output buffer all belong to the caller.
#include <cstddef>
#include <cstdint>

// A byte ring over caller-owned storage. Write position equal to read position
// means empty or full; only the flags tell which.
struct RingBuffer
{
    uint8_t *write; // where the next byte is stored
    uint8_t *read;  // where the next byte is taken from
    uint8_t *begin; // first byte of the storage
    uint8_t *end;   // one past the last byte of the storage
    uint8_t flags;  // RING_FULL, RING_EMPTY; the other bits stay zero
};

constexpr uint8_t RING_FULL = 0x80;
constexpr uint8_t RING_EMPTY = 0x40;

// What a frame looks like, plus the parser's state between calls.
struct FrameDescriptor
{
    const char *header;  // zero-terminated start string, bytes 0x01-0x7F
    const char *trailer; // zero-terminated end string, bytes 0x01-0x7F
    uint8_t checkSeed;   // the XOR check starts from this value
    int32_t count;       // payload bytes collected so far
    uint8_t check;       // running XOR check
    // Index of the next expected byte in the header or trailer; while a
    // counted payload is collected, the payload bytes still expected.
    int32_t cursor;
    uint8_t options; // FRAME_* option and error bits
    int32_t state;   // FRAME_STATE_*
};

// Option bits: which frame elements are present.
constexpr uint8_t FRAME_HEADER = 0x80;
constexpr uint8_t FRAME_TRAILER = 0x40;
constexpr uint8_t FRAME_BCC = 0x20;
constexpr uint8_t FRAME_LENGTH = 0x10;
// Error bits, set by the parser and never cleared by it.
constexpr uint8_t FRAME_BCC_ERROR = 0x02;
constexpr uint8_t FRAME_TRAILER_ERROR = 0x01;

// Parser states: what the next byte is expected to be.
constexpr int32_t FRAME_STATE_HEADER = 1;
constexpr int32_t FRAME_STATE_PAYLOAD = 2;
constexpr int32_t FRAME_STATE_TRAILER = 4;
constexpr int32_t FRAME_STATE_CHECK = 5;
constexpr int32_t FRAME_STATE_LENGTH = 6;
constexpr int32_t FRAME_STATE_COUNTED = 7;

// The parser stores at most this many payload bytes; its output buffer holds
// at least FRAME_MAX_PAYLOAD + 1 bytes.
constexpr int32_t FRAME_MAX_PAYLOAD = 64;
// frame_encode: the frame does not fit in the ring.
constexpr int32_t FRAME_NO_ROOM = -2;
// frame_parse: more than FRAME_MAX_PAYLOAD payload bytes arrived.
constexpr int32_t FRAME_OVERFLOW = -65;

// Makes an empty ring over size bytes of storage.
void ring_init(RingBuffer *ring, uint8_t *storage, size_t size);

// Stores up to n bytes in order. Returns null when all were stored, else the
// position in bytes of the first byte that found the ring full.
const uint8_t *ring_put(RingBuffer *ring, const uint8_t *bytes, size_t n);

// Writes one frame around the payload. 0 when written; FRAME_NO_ROOM when it
// does not fit, and then nothing is written. Reads only the descriptor's
// header, trailer, check seed and options.
int32_t frame_encode(RingBuffer *ring, const FrameDescriptor *descriptor, const uint8_t *payload,
                     size_t n);

// Takes bytes from the ring until a result appears or the ring is empty.
// Returns the payload length (> 0) when a frame completed, with the payload
// in out; 0 when none completed; FRAME_OVERFLOW; or -(n + 1) when the trailer
// or the check byte failed after n payload bytes. The descriptor carries the
// parse from one call to the next and is re-armed after every result.
int32_t frame_parse(RingBuffer *ring, uint8_t *out, FrameDescriptor *descriptor);

// Sets up the configurator's descriptor: header 0x02, trailer 0x03, seed
// 0x02, options FRAME_HEADER | FRAME_TRAILER | FRAME_BCC | FRAME_LENGTH,
// ready to parse from the header.
void frame_descriptor_init(FrameDescriptor *descriptor);
