#include "settings/SettingsPath.h"

#include <cwchar>

bool SettingsFilePath(const winampVisModule* module, wchar_t (&path)[kSettingsPathSize]) {
    path[0] = L'\0';
    if (!module) return false;
    wchar_t name[kSettingsPathSize] = L"";
    const DWORD size = GetModuleFileNameW(module->hDllInstance, name, kSettingsPathSize - 1);
    if (size == 0 || size >= kSettingsPathSize - 1) return false;
    const wchar_t* slash = std::wcsrchr(name, L'\\');
    if (!slash) return false;
    const size_t folder = static_cast<size_t>(slash - name) + 1;
    const size_t fileName = sizeof kSettingsFileName / sizeof kSettingsFileName[0];  // with its terminator
    if (folder + fileName > kSettingsPathSize) return false;
    std::wmemcpy(path, name, folder);
    std::wmemcpy(path + folder, kSettingsFileName, fileName);
    return true;
}
