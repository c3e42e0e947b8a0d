#include "link/hid_library.h"

#include "platform/dynamic_library.h"

#include <cstdio>

HidLibrary hidLibrary = {};

namespace {
char chosenFile[4096];

LibraryHandle openLibrary()
{
    if (chosenFile[0])
        return platform_load_library(chosenFile);
    char dir[4096];
    if (platform_executable_dir(dir, sizeof dir)) {
        char path[4096 + 64];
        snprintf(path, sizeof path, "%s/%s", dir, HID_LIBRARY_FILE);
        if (LibraryHandle library = platform_load_library(path))
            return library;
    }
    return platform_load_library(HID_LIBRARY_FILE);
}

template <typename Fn> bool lookUp(LibraryHandle library, const char *name, Fn &entry)
{
    entry = reinterpret_cast<Fn>(platform_find_symbol(library, name));
    return entry != nullptr;
}
} // namespace

int hid_load_library()
{
    hidLibrary = {};
    LibraryHandle library = openLibrary();
    if (!library)
        return HID_LOAD_NO_FILE;
    HidLibrary found = {};
    if (!lookUp(library, "Init_HID", found.Init_HID) ||
        !lookUp(library, "CloseHandles", found.CloseHandles) ||
        !lookUp(library, "WriteOutputReport", found.WriteOutputReport) ||
        !lookUp(library, "ReadInputReport", found.ReadInputReport))
        return HID_LOAD_NO_ENTRY;
    hidLibrary = found;
    return HID_LOAD_OK;
}

bool hid_library_loaded()
{
    return hidLibrary.Init_HID && hidLibrary.CloseHandles && hidLibrary.WriteOutputReport &&
           hidLibrary.ReadInputReport;
}

void hid_library_use_file(const char *path)
{
    snprintf(chosenFile, sizeof chosenFile, "%s", path ? path : "");
}
