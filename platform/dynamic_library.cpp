#include "platform/dynamic_library.h"

#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

LibraryHandle platform_load_library(const char *path)
{
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void *platform_find_symbol(LibraryHandle library, const char *name)
{
    if (!library)
        return nullptr;
    return dlsym(library, name);
}

bool platform_executable_dir(char *buffer, size_t size)
{
    if (size < 2)
        return false;
    ssize_t n = readlink("/proc/self/exe", buffer, size - 1);
    if (n <= 0 || static_cast<size_t>(n) >= size - 1)
        return false;
    buffer[n] = '\0';
    char *slash = strrchr(buffer, '/');
    if (!slash)
        return false;
    if (slash == buffer)
        slash[1] = '\0';
    else
        *slash = '\0';
    return true;
}
