#pragma once
// The HID report link: the reader is opened by its USB ids through the HID
// access library, one request frame goes out in one 65-byte output report
// and one answer frame comes back in one input report. Closing is the
// library's CloseHandles, called by the command after an accepted answer.
#include "link/hid_library.h"

#include <cstddef>
#include <cstdint>

constexpr unsigned short READER_VENDOR_ID = 0x0802;
constexpr unsigned short READER_PID_KEYBOARD = 0x3002; // reader working as a USB keyboard
constexpr unsigned short READER_PID_CDC = 0x3003;      // reader working as a USB CDC serial port

// The longest request payload one output report carries.
constexpr size_t HID_MAX_PAYLOAD = 60;
constexpr int HID_OPEN_ATTEMPTS = 5;
constexpr uint32_t HID_OPEN_PAUSE_MS = 1000;
constexpr unsigned HID_ANSWER_WAIT_MS = 5000;

enum HidOpenResult
{
    HID_NOT_FOUND = 0,
    HID_FOUND = 1,          // hid_open: a reader of either product id
    HID_FOUND_KEYBOARD = 2, // hid_open_identify: READER_PID_KEYBOARD
    HID_FOUND_CDC = 3,      // hid_open_identify: READER_PID_CDC
};

// Five attempts, all of which run, with a pause after each one that finds
// nothing; the result is that of the fifth: HID_FOUND or HID_NOT_FOUND.
// Without a loaded library: HID_NOT_FOUND at once.
int hid_open(const HidLibrary *library);

// As hid_open, telling which product opened: HID_FOUND_KEYBOARD,
// HID_FOUND_CDC or HID_NOT_FOUND.
int hid_open_identify(const HidLibrary *library);

// The readers attached, of both product ids, keyboard ones first: at most
// capacity stored into readers; returns how many there are (0 without a
// library that lists them).
int hid_list_readers(const HidLibrary *library, HidUsbDevice *readers, int capacity);

// As hid_open_identify, for the reader at this path (as listed, with its
// product id): HID_FOUND_KEYBOARD, HID_FOUND_CDC or HID_NOT_FOUND.
int hid_open_reader(const HidLibrary *library, const HidUsbDevice *reader);

// Sends the payload framed in one output report. Nonzero when sent; 0 when
// the library failed, is not loaded, or the payload is over HID_MAX_PAYLOAD
// bytes (nothing is sent then).
int hid_send_frame(const HidLibrary *library, const uint8_t *payload, size_t n);

// Reads one input report and decodes the answer frame in it into out (at
// least 65 bytes). The library's nonzero result when a frame with a payload
// was decoded; 0 otherwise.
int hid_receive_frame(const HidLibrary *library, uint8_t *out);
