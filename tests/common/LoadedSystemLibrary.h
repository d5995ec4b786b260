#pragma once
// The one copy of a library that may be loaded: the system folder's (support/SystemLibrary.h).
#include <windows.h>

#include "support/SystemLibrary.h"

// The system-folder library `name` as this process holds it; null when the process has not
// loaded it, or its path can't be had.
inline HMODULE LoadedSystemLibrary(const char* name) {
    char path[kSystemLibraryPathSize];
    return SystemLibraryPath(name, path) ? GetModuleHandleA(path) : nullptr;
}
