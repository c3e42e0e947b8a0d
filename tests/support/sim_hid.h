#pragma once
// Reaches the simulated HID access library in the test process (the reader
// behind the HID link, the log of library calls). The file is loaded unless
// it is already; one that is not the simulated library ends the test run.
#include "platform/dynamic_library.h"
#include "sim/sim_hid.h"

#include <QtGlobal>

inline SimHid *simHid()
{
    auto entry = reinterpret_cast<velorix_sim_hid_fn>(
        platform_find_symbol(platform_load_library(SIM_HID_LIBRARY), "velorix_sim_hid"));
    if (!entry)
        qFatal("%s is not the simulated HID library", SIM_HID_LIBRARY);
    return entry();
}
