#pragma once
// Libraries that only the system provides (the display driver's NVAPI library, WinSock) are
// loaded from the system folder alone, by full path. A library of the same name beside the
// host, beside the plug-in or in the current folder, where a user or another program may have
// put it, is never searched for and never loaded.
#include <windows.h>

#include "support/SystemLibraryPath.h"

// The full path of the system-folder library `name` (a bare file name) into `path`; false,
// with `path` empty, when the system folder can't be had or the path does not fit. For 32-bit
// code on 64-bit Windows the system folder is reported as System32 and reached as SysWOW64
// through the file-system redirection.
bool SystemLibraryPath(const char* name, char (&path)[kSystemLibraryPathSize]);

// How a library is loaded from the system folder.
enum class SystemLibraryLoad {
    // LoadLibraryEx with LOAD_LIBRARY_SEARCH_SYSTEM32: the library's own imports come from
    // the system folder too.
    kSearchSystemFolder,
    // For systems without that flag: the full path with LOAD_WITH_ALTERED_SEARCH_PATH, so the
    // library's imports are looked for in its own folder first.
    kAlteredSearchPath,
};

// Whether this system understands LOAD_LIBRARY_SEARCH_SYSTEM32 (it has AddDllDirectory).
bool SystemSearchFlagsAvailable();

// Loads the system-folder library `name` the given way; null when it is not there or can't
// be loaded. Each successful call counts one reference, as LoadLibrary does.
HMODULE LoadSystemLibraryBy(const char* name, SystemLibraryLoad how);

// Loads the system-folder library `name` the best way this system offers.
HMODULE LoadSystemLibrary(const char* name);
