#include "link/hid_link.h"

#include "hid_usb/hid_usb.h"
#include "link/frame_codec.h"
#include "link/hid_library.h"
#include "platform/sleep.h"

#include <cstring>

namespace {
// One attempt: the keyboard product first, then the CDC product.
int open_attempt(const HidLibrary *library)
{
    if (library->Init_HID(READER_VENDOR_ID, READER_PID_KEYBOARD, 0) != 0)
        return HID_FOUND_KEYBOARD;
    if (library->Init_HID(READER_VENDOR_ID, READER_PID_CDC, 0) != 0)
        return HID_FOUND_CDC;
    return HID_NOT_FOUND;
}

// One attempt at the reader a listing named.
int open_path_attempt(const HidLibrary *library, const HidUsbDevice *reader)
{
    if (library->Open_HID_Path(reader->path) == 0)
        return HID_NOT_FOUND;
    return reader->productId == READER_PID_CDC ? HID_FOUND_CDC : HID_FOUND_KEYBOARD;
}

// A success does not end the attempts: the reader must still be there at
// the fifth.
int open_identified(const HidLibrary *library, const HidUsbDevice *reader = nullptr)
{
    if (!hid_library_loaded(library) || (reader && !hid_library_lists_devices(library)))
        return HID_NOT_FOUND;
    int result = HID_NOT_FOUND;
    for (int attempt = 0; attempt < HID_OPEN_ATTEMPTS; ++attempt) {
        result = reader ? open_path_attempt(library, reader) : open_attempt(library);
        if (result == HID_NOT_FOUND)
            platform_sleep(HID_OPEN_PAUSE_MS);
    }
    return result;
}

void trace(const HidLibrary *library, WireDirection direction, const uint8_t *frame, size_t n)
{
    wire_trace_record(library->trace, {direction, false, nullptr, 0, 0, frame, n});
}

// A received report's frame: its length byte says how long it is; a report
// that is no frame shows up to its last nonzero byte.
size_t reportFrameSize(const uint8_t *data, size_t size)
{
    if (data[0] == 0x02 && size_t(data[1]) + 4 <= size)
        return size_t(data[1]) + 4;
    while (size > 0 && data[size - 1] == 0)
        --size;
    return size;
}
} // namespace

int hid_open(const HidLibrary *library)
{
    return open_identified(library) == HID_NOT_FOUND ? HID_NOT_FOUND : HID_FOUND;
}

int hid_open_identify(const HidLibrary *library)
{
    return open_identified(library);
}

int hid_list_readers(const HidLibrary *library, HidUsbDevice *readers, int capacity)
{
    if (!hid_library_lists_devices(library))
        return 0;
    const int keyboards =
        library->Enumerate_HID(READER_VENDOR_ID, READER_PID_KEYBOARD, readers, capacity);
    const int stored = keyboards < capacity ? keyboards : capacity;
    return keyboards + library->Enumerate_HID(READER_VENDOR_ID, READER_PID_CDC,
                                              readers ? readers + stored : nullptr,
                                              capacity - stored);
}

int hid_open_reader(const HidLibrary *library, const HidUsbDevice *reader)
{
    return open_identified(library, reader);
}

int hid_send_frame(const HidLibrary *library, const uint8_t *payload, size_t n)
{
    if (!hid_library_loaded(library))
        return 0;
    uint8_t report[HID_USB_REPORT_SIZE] = {};
    RingBuffer ring;
    ring_init(&ring, report, sizeof report);
    ring_put(&ring, report, 1); // the report id stays in byte 0
    FrameDescriptor descriptor;
    frame_descriptor_init(&descriptor);
    // Over HID_MAX_PAYLOAD bytes the frame does not fit the report's 64 data
    // bytes; the encoder refuses it without reading the payload.
    if (frame_encode(&ring, &descriptor, payload, n) != 0)
        return 0;
    trace(library, WIRE_SENT, report + 1, n + 4);
    return library->WriteOutputReport(report);
}

int hid_receive_frame(const HidLibrary *library, uint8_t *out)
{
    if (!hid_library_loaded(library))
        return 0;
    uint8_t report[HID_USB_REPORT_SIZE] = {};
    const int read = library->ReadInputReport(HID_ANSWER_WAIT_MS, report);
    trace(library, WIRE_RECEIVED, report + 1,
          read == 0 ? 0 : reportFrameSize(report + 1, HID_USB_REPORT_SIZE - 1));
    if (read == 0)
        return 0;
    uint8_t storage[HID_USB_REPORT_SIZE];
    RingBuffer ring;
    ring_init(&ring, storage, sizeof storage);
    ring_put(&ring, report + 1, HID_USB_REPORT_SIZE - 1);
    FrameDescriptor descriptor;
    frame_descriptor_init(&descriptor);
    return frame_parse(&ring, out, &descriptor) > 0 ? read : 0;
}
