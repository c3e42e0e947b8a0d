#pragma once
// The HID access library, loaded at start-up and never unloaded. Its four
// entry points belong to whoever loaded it; all of them are null unless
// loading found every one. The two that list the readers and open one by
// path are null in a library that lacks them: it reaches the first reader.
#include "hid_usb/hid_usb.h"
#include "link/wire_trace.h"

struct HidLibrary
{
    Init_HID_fn Init_HID;
    CloseHandles_fn CloseHandles;
    WriteOutputReport_fn WriteOutputReport;
    ReadInputReport_fn ReadInputReport;
    Enumerate_HID_fn Enumerate_HID; // may be null
    Open_HID_Path_fn Open_HID_Path; // may be null
    // Follows every report's frame sent and received (null: nobody does);
    // set by the library's owner, not by loading.
    const WireTrace *trace = nullptr;
};

constexpr const char *HID_LIBRARY_FILE = "libhid_usb.so";

enum HidLoadResult
{
    HID_LOAD_OK = 0,
    HID_LOAD_NO_FILE = -1,
    HID_LOAD_NO_ENTRY = -2,
};

// Loads the library from the executable's own folder, else from the system's
// library path, and looks up Init_HID, CloseHandles, WriteOutputReport and
// ReadInputReport in that order into *library, then Enumerate_HID and
// Open_HID_Path when it has both. HID_LOAD_OK, HID_LOAD_NO_FILE, or
// HID_LOAD_NO_ENTRY (first missing entry point; *library stays all null).
int hid_load_library(HidLibrary *library);

// True when all four entry points are there.
bool hid_library_loaded(const HidLibrary *library);

// True when the library also lists the readers and opens one by path.
bool hid_library_lists_devices(const HidLibrary *library);

// Makes the next loads use this file only (a null path restores the normal
// search). For tests that run the configurator against another library.
void hid_library_use_file(const char *path);
