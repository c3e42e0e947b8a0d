#include "link/hid_library.h"

#include "platform/dynamic_library.h"

#include <cstdio>

namespace {
char chosenFile[4096];

// Where an installed configurator keeps the library, relative to its own
// folder (set by the build from the install layout).
#ifndef HID_LIBRARY_PRIVATE_DIR
#define HID_LIBRARY_PRIVATE_DIR "../lib/velorix-config"
#endif

LibraryHandle openBeside(const char *dir, const char *subfolder)
{
    char path[4096 + 256];
    snprintf(path, sizeof path, "%s/%s%s%s", dir, subfolder, *subfolder != 0 ? "/" : "",
             HID_LIBRARY_FILE);
    return platform_load_library(path);
}

// The executable's own folder first, as on every platform the reader's
// library has shipped for; then the installed program's private folder;
// then the system's library path.
LibraryHandle openLibrary()
{
    if (chosenFile[0] != 0)
        return platform_load_library(chosenFile);
    char dir[4096];
    if (platform_executable_dir(dir, sizeof dir)) {
        if (LibraryHandle library = openBeside(dir, ""))
            return library;
        if (LibraryHandle library = openBeside(dir, HID_LIBRARY_PRIVATE_DIR))
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

int hid_load_library(HidLibrary *library)
{
    *library = {};
    LibraryHandle handle = openLibrary();
    if (!handle)
        return HID_LOAD_NO_FILE;
    HidLibrary found = {};
    if (!lookUp(handle, "Init_HID", found.Init_HID) ||
        !lookUp(handle, "CloseHandles", found.CloseHandles) ||
        !lookUp(handle, "WriteOutputReport", found.WriteOutputReport) ||
        !lookUp(handle, "ReadInputReport", found.ReadInputReport))
        return HID_LOAD_NO_ENTRY;
    if (!lookUp(handle, "Enumerate_HID", found.Enumerate_HID) ||
        !lookUp(handle, "Open_HID_Path", found.Open_HID_Path)) {
        found.Enumerate_HID = nullptr;
        found.Open_HID_Path = nullptr;
    }
    *library = found;
    return HID_LOAD_OK;
}

bool hid_library_loaded(const HidLibrary *library)
{
    return (library->Init_HID != nullptr) && (library->CloseHandles != nullptr) &&
           (library->WriteOutputReport != nullptr) && (library->ReadInputReport != nullptr);
}

bool hid_library_lists_devices(const HidLibrary *library)
{
    return hid_library_loaded(library) && (library->Enumerate_HID != nullptr) &&
           (library->Open_HID_Path != nullptr);
}

void hid_library_use_file(const char *path)
{
    snprintf(chosenFile, sizeof chosenFile, "%s", path ? path : "");
}
