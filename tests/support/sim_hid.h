#pragma once
// Reaches the simulated HID access library loaded in the test process: the
// reader behind the configurator's HID link, and the log of library calls.
#include "sim/sim_hid.h"

// The SimHid of that library file; loads the file if it is not loaded yet
// (loading it again gives the instance already in the process). A file that
// is not the simulated library ends the test run.
SimHid *simHidOf(const char *libraryFile);

#ifdef SIM_HID_LIBRARY
inline SimHid *simHid()
{
    return simHidOf(SIM_HID_LIBRARY);
}
#endif
