// The DLL's entry: nothing runs at load; at unload a run the host never quit is ended.
#include <windows.h>

#include "plugin/Lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // A null `reserved` is FreeLibrary; otherwise the process is ending, and the libraries this
    // DLL loaded later (the driver's) have already been told to shut down.
    if (reason == DLL_PROCESS_DETACH) EndRunAtUnload(reserved != nullptr);
    return TRUE;
}
