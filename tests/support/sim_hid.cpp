#include "sim_hid.h"

#include "platform/dynamic_library.h"

#include <QtGlobal>

SimHid *simHidOf(const char *libraryFile)
{
    auto entry = reinterpret_cast<velorix_sim_hid_fn>(
        platform_find_symbol(platform_load_library(libraryFile), "velorix_sim_hid"));
    if (!entry)
        qFatal("%s is not the simulated HID library", libraryFile);
    return entry();
}
