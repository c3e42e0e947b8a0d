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
//
// More readers can be attached (addReader), each with its own state and
// serial number. Init_HID opens the first that matches; Enumerate_HID lists
// them all, reader i at SIM_HID_PATH_PREFIX<i> on USB port "1-<i+1>"; and
// Open_HID_Path opens the one at that path. In a demo, velorix-reader.state
// beside the library holds the first reader and velorix-reader-<n>.state
// the n-th, when such a file is there.
#include "hid_usb/hid_usb.h"
#include "sim/reader_model.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

inline constexpr char SIM_HID_PATH_PREFIX[] = "/sim/hidraw";

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
    ReaderModel reader;            // the first reader
    std::deque<ReaderModel> added; // the second reader on

    // Attaches one more reader, serial number "00000<n>" for the n-th.
    ReaderModel &addReader()
    {
        ReaderModel &added_ = added.emplace_back();
        snprintf(added_.serialNumber, sizeof added_.serialNumber, "%06zu", readerCount() % 1000000);
        return added_;
    }
    size_t readerCount() const { return 1 + added.size(); }
    ReaderModel &readerAt(size_t i) { return i == 0 ? reader : added[i - 1]; }

    // What the host did, in order.
    std::vector<SimHidInit> inits;      // every Init_HID call and its result
    std::vector<HidReport> writes;      // every report given to WriteOutputReport
    std::vector<unsigned> readTimeouts; // the wait of every ReadInputReport call
    std::vector<std::string> pathOpens; // every Open_HID_Path call
    int closeCalls = 0;
    int enumerations = 0;

    // Failures a test can switch on.
    bool failWrite = false; // WriteOutputReport returns 0 and the reader gets nothing
    bool failClose = false; // CloseHandles returns 1 and the device stays open

    // The device as the library sees it.
    bool deviceOpen = false;
    size_t openReader = 0; // which reader, while deviceOpen
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
