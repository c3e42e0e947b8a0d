#pragma once
// Reaches the simulated HID access library in the test process (the reader
// behind the HID link, the log of library calls). The file is loaded unless
// it is already; one that is not the simulated library ends the test run.
#include "sim/sim_hid.h"

SimHid *simHidOf(const char *libraryFile);

#ifdef SIM_HID_LIBRARY
inline SimHid *simHid()
{
    return simHidOf(SIM_HID_LIBRARY);
}
#endif
