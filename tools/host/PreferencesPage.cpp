#include "tools/host/PreferencesPage.h"

#include <commctrl.h>

#include "tools/host/VisPlugin.h"

bool OpenPluginSettings(const std::string& plugin, int module, HWND mainWindow, std::string& error) {
    // Winamp registers the common controls before any plug-in opens its settings.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    VisPlugin dll;
    if (!dll.Load(plugin, mainWindow, error)) return false;
    winampVisModule* record = dll.Prepare(module, mainWindow, error);
    if (!record) return false;
    record->Config(record);
    return true;
}
