#include "support/SystemLibrary.h"

// Older SDKs (those for Windows XP targets) do not name the flag; systems that know it give
// it this value, and SystemSearchFlagsAvailable keeps it from the others.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

bool SystemLibraryPath(const char* name, char (&path)[kSystemLibraryPathSize]) {
    char folder[kSystemLibraryPathSize];
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    // 0 is a failure and a length beyond the buffer is the size it would have needed.
    if (length == 0 || length >= sizeof folder) {
        path[0] = '\0';
        return false;
    }
    return JoinSystemLibraryPath(folder, length, name, path, sizeof path);
}

bool SystemSearchFlagsAvailable() {
    // The documented test: the flags came with AddDllDirectory (Windows 8, or Windows 7 with
    // its loader update).
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel && GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

HMODULE LoadSystemLibraryBy(const char* name, SystemLibraryLoad how) {
    char path[kSystemLibraryPathSize];
    if (!SystemLibraryPath(name, path)) return nullptr;
    const DWORD flags = how == SystemLibraryLoad::kSearchSystemFolder ? LOAD_LIBRARY_SEARCH_SYSTEM32
                                                               : LOAD_WITH_ALTERED_SEARCH_PATH;
    return LoadLibraryExA(path, nullptr, flags);
}

HMODULE LoadSystemLibrary(const char* name) {
    return LoadSystemLibraryBy(name, SystemSearchFlagsAvailable() ? SystemLibraryLoad::kSearchSystemFolder
                                                                  : SystemLibraryLoad::kAlteredSearchPath);
}
