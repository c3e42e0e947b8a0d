#include "sim/reader_model.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint8_t START = 0x02;
constexpr uint8_t END = 0x03;
constexpr uint8_t BROKEN_END = 0x04;

constexpr uint8_t GET_FIRMWARE = 0xAA;
constexpr uint8_t SET_DEFAULTS = 0xAB;
constexpr uint8_t SET_SERIAL = 0xBB;
constexpr uint8_t GET_SERIAL = 0xCC;
constexpr uint8_t SET_CONFIG = 0xDD;
constexpr uint8_t GET_CONFIG = 0xEE;
constexpr uint8_t ENTER_DFU = 0xFF;

constexpr size_t INTERFACE_BYTE = 11; // settings byte 3 in the serialized record
constexpr uint8_t CDC_INTERFACE_BIT = 0x80;

const uint8_t FACTORY_CONFIGURATION[ReaderModel::CONFIG_SIZE] = {
    'F',  'A',  'B',  'R',  'I',  'C',  'A',  0x00, 0xD2, 0xF7, 0xC4, 0x44, 0x02, 0x21,
    0x3F, 0x09, 0x09, 0x09, 0x09, 0x00, 0x0D, 0x02, 0x00, 0x03, 0x00, 0x02, 0x03};

uint8_t checkByte(uint8_t length, const uint8_t *payload, size_t n)
{
    uint8_t check = length ^ END;
    for (size_t i = 0; i < n; ++i)
        check ^= payload[i];
    return check;
}

bool allDigits(const uint8_t *text, size_t n)
{
    return std::all_of(text, text + n, [](uint8_t c) { return c >= '0' && c <= '9'; });
}
} // namespace

ReaderModel::ReaderModel() : firmwareVersion("VELORIX II 1.05")
{
    memcpy(configuration, FACTORY_CONFIGURATION, CONFIG_SIZE);
    memcpy(factoryConfiguration, FACTORY_CONFIGURATION, CONFIG_SIZE);
    memcpy(serialNumber, "000001", sizeof serialNumber);
}

uint16_t ReaderModel::productId() const
{
    return (configuration[INTERFACE_BYTE] & CDC_INTERFACE_BIT) ? PID_CDC : PID_KEYBOARD;
}

bool ReaderModel::present() const
{
    return !faults.absent && !unplugged && !dfuMode;
}

bool ReaderModel::open()
{
    if (!present())
        return false;
    if (faults.unplugAfterOpens >= 0 && opens >= faults.unplugAfterOpens) {
        unplugged = true;
        return false;
    }
    ++opens;
    return true;
}

size_t ReaderModel::receive(const uint8_t *bytes, size_t n, uint8_t *answer, size_t capacity)
{
    Output out{answer, capacity, 0};
    for (size_t i = 0; i < n; ++i)
        take(bytes[i], out);
    return out.length;
}

void ReaderModel::dropPartialFrame()
{
    strayBytes += pendingLength;
    pendingLength = 0;
}

// Collects one frame from its start byte; a frame that turns out broken
// gives up only its start byte, and the search goes on from the next one.
void ReaderModel::take(uint8_t byte, Output &out)
{
    if (!present())
        return;
    if (pendingLength == 0 && byte != START) {
        ++strayBytes;
        return;
    }
    pending[pendingLength++] = byte;
    if (pendingLength < 2)
        return;
    const size_t length = pending[1];
    if (length == 0 || length > MAX_PAYLOAD) {
        resynchronise(out);
        return;
    }
    if (pendingLength < length + 4)
        return;
    const uint8_t *payload = pending + 2;
    if (pending[length + 2] != END ||
        pending[length + 3] != checkByte(pending[1], payload, length)) {
        resynchronise(out);
        return;
    }
    pendingLength = 0;
    handleRequest(payload, length, out);
}

void ReaderModel::resynchronise(Output &out)
{
    uint8_t rest[sizeof pending];
    const size_t n = pendingLength - 1;
    memcpy(rest, pending + 1, n);
    pendingLength = 0;
    ++strayBytes;
    for (size_t i = 0; i < n; ++i)
        take(rest[i], out);
}

void ReaderModel::handleRequest(const uint8_t *payload, size_t n, Output &out)
{
    requests.emplace_back(payload, payload + n);
    if (faults.silent)
        return;
    uint8_t answer[MAX_PAYLOAD];
    size_t length = act(payload, n, answer);
    if (length == 0)
        return;
    if (faults.wrongEcho)
        answer[0] ^= 0x01;
    if (faults.emptyPayload)
        length = 0;
    if (faults.shortAnswer >= 0)
        length = std::min(length, static_cast<size_t>(faults.shortAnswer));
    sendFrame(answer, length, out);
}

// Carries out one request; returns the answer's length, 0 for a request
// that the reader does not understand and leaves unanswered.
size_t ReaderModel::act(const uint8_t *payload, size_t n, uint8_t *answer)
{
    answer[0] = payload[0];
    switch (payload[0]) {
    case GET_FIRMWARE: {
        const size_t text = std::min(firmwareVersion.size(), MAX_FIRMWARE);
        memcpy(answer + 1, firmwareVersion.data(), text);
        answer[1 + text] = 0;
        return text + 2;
    }
    case SET_DEFAULTS:
        memcpy(configuration, factoryConfiguration, CONFIG_SIZE);
        return 1;
    case SET_SERIAL:
        if (n < 7 || !allDigits(payload + 1, 6))
            return 0;
        memcpy(serialNumber, payload + 1, 6);
        return 1;
    case GET_SERIAL:
        memcpy(answer + 1, serialNumber, 7);
        return 8;
    case SET_CONFIG:
        if (n < 1 + CONFIG_SIZE)
            return 0;
        memcpy(configuration, payload + 1, CONFIG_SIZE);
        return 1;
    case GET_CONFIG:
        memcpy(answer + 1, configuration, CONFIG_SIZE);
        return 1 + CONFIG_SIZE;
    case ENTER_DFU:
        dfuMode = true; // the answer still goes out; after it the reader is gone
        return 1;
    default:
        return 0;
    }
}

void ReaderModel::sendFrame(const uint8_t *payload, size_t n, Output &out) const
{
    const size_t noise = faults.noiseBeforeFrame ? sizeof READER_NOISE : 0;
    const size_t size = noise + n + 4;
    if (size > out.capacity - out.length)
        return;
    uint8_t *frame = out.bytes + out.length;
    memcpy(frame, READER_NOISE, noise);
    frame += noise;
    frame[0] = START;
    frame[1] = static_cast<uint8_t>(n);
    memcpy(frame + 2, payload, n);
    frame[n + 2] = faults.brokenTrailer ? BROKEN_END : END;
    frame[n + 3] = checkByte(static_cast<uint8_t>(n), payload, n);
    if (faults.wrongCheck)
        frame[n + 3] ^= 0xFF;
    out.length += size;
}
