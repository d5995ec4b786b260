#include "settings/SettingsPath.h"

#include "support/ModulePath.h"

bool SettingsFilePath(const winampVisModule* module, wchar_t (&path)[kSettingsPathSize]) {
    path[0] = L'\0';
    return module && PathBesideModule(module->hDllInstance, kSettingsFileName, path, kSettingsPathSize);
}
