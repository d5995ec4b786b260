#pragma once
// The WinSock loader: loads "WSOCK32.DLL" from the system folder on demand, resolves its
// entry points into process-wide pointers and counts its users. The five functions are
// exported undecorated.
#include <winsock2.h>
#include <windows.h>
#include "support/Export.h"

extern "C" {
GLOWMETER_API int WS32LIB_LoadDLL();          // 0 success, -1 failure
GLOWMETER_API void WS32LIB_UnloadDLL();
GLOWMETER_API int WS32LIB_IsLoadDLL();        // 1 while the load count is not 0
GLOWMETER_API unsigned int WS32LIB_GetLoadCount();
GLOWMETER_API HINSTANCE WS32LIB_GetDLLHandle();
}
