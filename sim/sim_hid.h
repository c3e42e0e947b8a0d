#pragma once
// The simulated HID access library (<build>/sim-hid/libhid_usb.so): the four
// entry points of hid_usb/hid_usb.h with a ReaderModel behind them, and
// velorix_sim_hid, through which a test reaches that reader and a log of what
// the host asked of the library.
//
// Init_HID(vendor, product, reserved) closes any open device, then opens the
// reader when vendor is 0x0802, product is the reader's current product id
// and the reader opens (ReaderModel::open). WriteOutputReport hands data
// bytes 1-64 of the report to the reader; ReadInputReport returns at once
// with the reader's answer to the last output report (report id 0, the
// answer from byte 1, zeros after it) or 0 when there is none.
#include "hid_usb/hid_usb.h"
#include "sim/reader_model.h"

#include <array>
#include <cstdint>
#include <vector>

using HidReport = std::array<uint8_t, HID_USB_REPORT_SIZE>;

struct SimHidInit
{
    unsigned short vendorId;
    unsigned short productId;
    int reserved;
    int result;
};

struct SimHid
{
    ReaderModel reader;

    // What the host did, in order.
    std::vector<SimHidInit> inits;      // every Init_HID call and its result
    std::vector<HidReport> writes;      // every report given to WriteOutputReport
    std::vector<unsigned> readTimeouts; // the wait of every ReadInputReport call
    int closeCalls = 0;

    // Failures a test can switch on.
    bool failWrite = false; // WriteOutputReport returns 0 and the reader gets nothing
    bool failClose = false; // CloseHandles returns 1 and the device stays open

    // The device as the library sees it.
    bool deviceOpen = false;
    unsigned short openProductId = 0;
    bool inputPending = false;
    HidReport input = {};

    // Back to a fresh library with a default reader behind it.
    void reset() { *this = SimHid(); }
};

extern "C" {
__attribute__((visibility("default"))) SimHid *velorix_sim_hid(void);
typedef SimHid *(*velorix_sim_hid_fn)(void);
}
