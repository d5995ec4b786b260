#include "tools/host/PreferencesPage.h"

#include <commctrl.h>

#include "tools/host/VisPlugin.h"

bool OpenPluginSettings(const std::string& plugin, int module, HWND mainWindow, std::string& error) {
    // Winamp registers the common controls before any plug-in opens its settings.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    VisPlugin dll;
    if (!dll.Load(plugin, mainWindow, error)) return false;
    winampVisModule* record = module < dll.ModuleCount() ? dll.Module(module) : nullptr;
    if (!record) {
        error = "the plug-in has no module " + std::to_string(module);
        return false;
    }
    record->hwndParent = mainWindow;
    record->hDllInstance = dll.Instance();
    record->Config(record);
    return true;
}
