#pragma once
// The simulated reader: the reader's side of the protocol, used wherever a
// test, the demo or the pty-served simulator needs a reader. It takes the
// host's bytes as a stream that may arrive in pieces, picks whole frames out
// of it (02 L payload 03 check, check = L ^ payload ^ 0x03, L from 1 to 60),
// answers each request frame and records what it received. Its frame parser
// and builder are its own, independent of the configurator's codec, so the
// two check each other.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Misbehaviour that a test can switch on. Every fault is off by default.
struct ReaderFaults
{
    bool absent = false;           // not attached: never opens, ignores every byte
    int unplugAfterOpens = -1;     // the first N opens succeed, then it is gone (-1: never)
    bool silent = false;           // records requests, acts on none, answers none
    bool wrongEcho = false;        // answer byte 0 differs from the command byte (bit 0 flipped)
    bool wrongCheck = false;       // the check byte of every answer is inverted
    bool brokenTrailer = false;    // answers end with 0x04 instead of 0x03
    bool noiseBeforeFrame = false; // READER_NOISE goes out before every answer frame
    bool emptyPayload = false;     // answers carry L = 0 and no payload
    int shortAnswer = -1;          // answer payloads are cut to N bytes (-1: whole)
};

// The bytes a noisy reader sends before each answer frame (never 0x02).
constexpr uint8_t READER_NOISE[] = {0x55, 0xA5, 0x00};

class ReaderModel
{
public:
    static constexpr uint16_t VENDOR_ID = 0x0802;
    static constexpr uint16_t PID_KEYBOARD = 0x3002;
    static constexpr uint16_t PID_CDC = 0x3003;
    static constexpr size_t CONFIG_SIZE = 27;  // 8-byte profile name, then 19 setting bytes
    static constexpr size_t MAX_PAYLOAD = 60;  // longest payload in either direction
    static constexpr size_t MAX_FIRMWARE = 58; // firmware text that fits in an answer
    // The longest answer: noise, then a frame of MAX_PAYLOAD bytes.
    static constexpr size_t MAX_ANSWER = sizeof READER_NOISE + MAX_PAYLOAD + 4;

    // Configuration and factory configuration "FABRICA\0" plus the default
    // settings, serial number "000001", a firmware text; keyboard interface.
    ReaderModel();

    uint8_t configuration[CONFIG_SIZE];
    uint8_t factoryConfiguration[CONFIG_SIZE]; // what 0xAB restores
    char serialNumber[7];                      // six digits and a zero
    std::string firmwareVersion;               // answers carry its first MAX_FIRMWARE bytes
    bool dfuMode = false;                      // set once 0xFF has been answered
    ReaderFaults faults;

    std::vector<std::vector<uint8_t>> requests; // payload of every request frame, in order
    size_t strayBytes = 0; // bytes received that did not belong to a request frame
    int opens = 0;         // successful opens
    bool unplugged = false;

    // 0x3003 when the configuration's cdcInterface bit (serialized byte 11,
    // bit 7) is set, else 0x3002.
    uint16_t productId() const;

    // Not absent, not unplugged and not in firmware-update mode.
    bool present() const;

    // One open attempt by the host; counts towards faults.unplugAfterOpens.
    bool open();

    // Host-to-reader bytes, in any pieces. Answers every request frame that
    // completes and writes the answers one after the other into answer;
    // returns how many bytes were written. An answer that does not fit in
    // what is left of capacity is left out whole (MAX_ANSWER always fits).
    // A reader that is not present ignores the bytes.
    size_t receive(const uint8_t *bytes, size_t n, uint8_t *answer, size_t capacity);

    // Forgets a frame that has only partly arrived (the end of a HID report).
    void dropPartialFrame();

private:
    struct Output
    {
        uint8_t *bytes;
        size_t capacity;
        size_t length;
    };

    void take(uint8_t byte, Output &out);
    void resynchronise(Output &out);
    void handleRequest(const uint8_t *payload, size_t n, Output &out);
    size_t act(const uint8_t *payload, size_t n, uint8_t *answer);
    void sendFrame(const uint8_t *payload, size_t n, Output &out) const;

    uint8_t pending[MAX_PAYLOAD + 4]; // a frame being received, from its 0x02
    size_t pendingLength = 0;
};
