#pragma once
// Loading a shared library and finding its entry points by name.
#include <cstddef>

typedef void *LibraryHandle;

// Loads the library at path (a bare file name searches the system's library
// path). Returns null when it cannot be loaded. Libraries are never unloaded.
LibraryHandle platform_load_library(const char *path);

// The address of an exported symbol, or null when the library lacks it.
void *platform_find_symbol(LibraryHandle library, const char *name);

// Writes the folder of the running executable (without a trailing slash) into
// buffer. Returns false when it cannot be found or does not fit.
bool platform_executable_dir(char *buffer, size_t size);
