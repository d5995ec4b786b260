#pragma once
// A copy of the plug-in DLL in a folder of the test's choosing, loaded from there, so that the
// settings file it reads and writes, and the version data it shows, are the copy's.
#include <windows.h>

#include <string>

#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"

// Copies the plug-in DLL into `folder` as `dllName` and loads the copy; null when either
// fails. Wide calls, so that a folder named outside the ANSI code page works, and one given
// with the "\\?\" prefix may be deeper than MAX_PATH.
inline HMODULE LoadDllCopy(const std::wstring& folder, const std::wstring& dllName = L"vis_glowmeter.dll") {
    const std::wstring target = folder + L"\\" + dllName;
    if (!CopyFileW(TempFolder::Wide(PluginPath()).c_str(), target.c_str(), FALSE)) return nullptr;
    return LoadLibraryW(target.c_str());
}
