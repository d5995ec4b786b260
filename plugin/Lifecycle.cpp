// One visualization run: Init brings the pieces up in a fixed order, Quit takes them down,
// Config edits the settings and restarts the run on Apply.
#include "client/CLUMOCLI.h"
#include "plugin/PlayerCoordination.h"
#include "plugin/PluginState.h"
#include "settings/ConfigFile.h"
#include "settings/SettingsDialog.h"

CNVGF g_Devices[kDeviceSlots];
CCS g_RenderLock;

namespace {

constexpr UINT kErrorBoxStyle = MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST;  // 0x50010
volatile LONG g_ConfigBusy = 0;

void ShowError(winampVisModule* module, const char* text) {
    MessageBoxA(module->hwndParent, text, "ERROR", kErrorBoxStyle);
}

void LoadSettings(winampVisModule* module) {
    if (!LoadConfig(module)) ShowError(module, "Load config error.");
}

}  // namespace

int Init(winampVisModule* module) {
    LoadSettings(module);
    if (!g_RenderLock.IsCreated()) g_RenderLock.Create(kRenderLockName);
    if (g_LiveConfig.PlayerEnable) PlayerStart();
    // Every slot is opened, enabled or not, so the dialog can show every slot's name.
    for (int i = 0; i < kDeviceSlots; ++i) OpenDevice(g_Devices[i], g_LiveConfig.Devices[i]);
    if (g_LiveConfig.Debug && !OpenDiagnosticPath()) g_LiveConfig.Debug = 0;
    return 0;
}

void Quit(winampVisModule*) {
    if (g_LiveConfig.Debug) g_Client.Close();
    for (CNVGF& device : g_Devices) {
        if (device.hNvapi) device.Load(0);
    }
    if (g_LiveConfig.PlayerEnable) PlayerStop();
    if (g_RenderLock.IsCreated()) g_RenderLock.Destroy();
}

void Config(winampVisModule* module) {
    // Only one dialog at a time: a second Config while one is open returns at once.
    if (InterlockedCompareExchange(&g_ConfigBusy, 1, 0) != 0) return;

    LoadSettings(module);
    const INT_PTR result =
        DialogBoxParamA(module->hDllInstance, MAKEINTRESOURCEA(kSettingsDialogId), module->hwndParent,
                        SettingsDialogProc, 0);
    // Only Apply (1) applies: a dialog that could not be created (-1) never filled the
    // working copy, so it counts as Cancel.
    if (result == 1) {
        Quit(module);
        g_LiveConfig = g_WorkConfig;
        if (!SaveConfig(module)) ShowError(module, "Save config error.");
        Init(module);
    }

    InterlockedExchange(&g_ConfigBusy, 0);
}
