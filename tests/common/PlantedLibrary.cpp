// A library that records that it was loaded: on attaching to a process it creates the empty
// file "<its own path>.loaded". The tests plant it under the name of a library that may only
// ever come from the system folder; a record file beside it means it was loaded all the same.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char record[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameA(self, record, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatA(record, ".loaded");
    HANDLE file = CreateFileA(record, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}

extern "C" __declspec(dllexport) int PlantedLibrary() { return 1; }
