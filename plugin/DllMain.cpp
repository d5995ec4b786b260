// The DLL's entry: nothing runs at load; at unload a run the host never quit is ended.
#include <windows.h>

#include "plugin/Lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) EndRunAtUnload();
    return TRUE;
}
