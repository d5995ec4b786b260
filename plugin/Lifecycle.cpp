// One visualization run: Init brings the pieces up in a fixed order, Quit takes them down,
// Config edits the settings and hands them to the run, which restarts with them on its own
// thread (see RunControl.h).
#include "plugin/Lifecycle.h"

#include "client/CLUMOCLI.h"
#include "client/DiagnosticPath.h"
#include "dialog/SettingsDialog.h"
#include "gpu/OpenDevice.h"
#include "plugin/PlayerCoordination.h"
#include "plugin/PluginState.h"
#include "plugin/RunControl.h"
#include "settings/ConfigFile.h"

namespace {

constexpr UINT kErrorBoxStyle = MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST;  // 0x50010
volatile LONG g_ConfigBusy = 0;

void ShowError(winampVisModule* module, const char* text) {
    MessageBoxA(module->hwndParent, text, "ERROR", kErrorBoxStyle);
}

// The fields that a load of the settings file writes: all but AutoDetect and the names.
void CopyLoadedFields(PLUGINCFG& to, const PLUGINCFG& from) {
    to.Debug = from.Debug;
    to.Decay = from.Decay;
    to.PlayerEnable = from.PlayerEnable;
    to.PlayerWait = from.PlayerWait;
    for (int i = 0; i < kDeviceSlots; ++i) {
        DEVICECFG& slot = to.Devices[i];
        const DEVICECFG& source = from.Devices[i];
        slot.Enable = source.Enable;
        slot.Display = source.Display;
        slot.GPU = source.GPU;
        slot.Attribute = source.Attribute;
        slot.Channel = source.Channel;
    }
}

// Init's steps after the load: the render lock, the player, the lights, the diagnostic path.
void StartRun() {
    if (!g_RenderLock.IsCreated()) g_RenderLock.Create(kRenderLockName);
    if (g_LiveConfig.PlayerEnable) PlayerStart();
    // Every slot is opened, enabled or not, so the dialog can show every slot's name.
    for (int i = 0; i < kDeviceSlots; ++i) OpenDevice(g_Devices[i], g_LiveConfig.Devices[i]);
    if (g_LiveConfig.Debug && !OpenDiagnosticPath()) g_LiveConfig.Debug = 0;
}

// Quit's steps. The player is stopped when this run started it, whatever PlayerEnable says
// by now: settings handed over during the run may have switched it, and a timer left behind
// would outlive the run.
void EndRun() {
    if (g_LiveConfig.Debug) g_Client.Close();
    for (CNVGF& device : g_Devices) {
        // The user's own zone lighting comes back when the music stops.
        device.RestoreZones();
        if (device.hNvapi) device.Load(0);
    }
    if (PlayerStarted()) PlayerStop();
    if (g_RenderLock.IsCreated()) g_RenderLock.Destroy();
}

// Settings taking effect without a restart: all of an applied dialog's, the loaded fields of
// a cancelled one's.
void Adopt(Handover kind, const PLUGINCFG& settings) {
    if (kind == Handover::kRestart)
        g_LiveConfig = settings;
    else if (kind == Handover::kSettings)
        CopyLoadedFields(g_LiveConfig, settings);
}

// What Config left becomes the live settings without a restart: when the run ends (or a new
// one begins) before its next frame took it. The Auto Detect choice of an applied dialog
// lives only in memory, so it must not be lost with the restart that never came.
void AdoptPending() {
    PLUGINCFG settings;
    const Handover kind = g_Run.Take(settings);
    Adopt(kind, settings);
}

// On the run's thread, with the guard held: the restart of an applied dialog, or the reloaded
// settings of a cancelled one, which the run goes on with.
void ApplyHandover() {
    PLUGINCFG settings;
    const Handover kind = g_Run.Take(settings);
    if (kind != Handover::kRestart) {
        Adopt(kind, settings);
        return;
    }
    EndRun();
    Adopt(kind, settings);
    StartRun();
}

// The settings the dialog starts from: those waiting for the run, if any, else the live ones.
// Debug is not read: the run's Render switches it without the guard, and the reload that
// follows reads it from the file (a failed reload leaves the diagnostic path off).
PLUGINCFG SettingsToEdit() {
    RunLock lock;
    const PLUGINCFG* pending = g_Run.Pending();
    PLUGINCFG settings = {};
    const PLUGINCFG& source = pending ? *pending : g_LiveConfig;
    settings.AutoDetect = source.AutoDetect;
    settings.Decay = source.Decay;
    settings.PlayerEnable = source.PlayerEnable;
    settings.PlayerWait = source.PlayerWait;
    for (int i = 0; i < kDeviceSlots; ++i) settings.Devices[i] = source.Devices[i];
    return settings;
}

// With no run active the settings become the live ones and nothing starts: the host may free
// the DLL as soon as Config returns. A run takes them on its own thread; a Config made on that
// very thread lets it take them at once.
void HandOver(Handover kind, const PLUGINCFG& settings) {
    RunLock lock;
    if (!g_Run.IsActive()) {
        Adopt(kind, settings);
        return;
    }
    g_Run.Post(kind, settings);
    if (g_Run.Thread() == GetCurrentThreadId()) ApplyHandover();
}

}  // namespace

int Init(winampVisModule* module) {
    RunLock lock;
    AdoptPending();
    g_Run.Begin(GetCurrentThreadId());
    if (!LoadConfig(module)) {
        // No guard while the box is up: its owner window's thread may be waiting for it.
        lock.Release();
        ShowError(module, "Load config error.");
        lock.Acquire();
    }
    StartRun();
    return 0;
}

void Quit(winampVisModule*) {
    RunLock lock;
    EndRun();
    AdoptPending();
    g_Run.End();
}

void Config(winampVisModule* module) {
    // Only one dialog at a time: a second Config while one is open returns at once.
    if (InterlockedCompareExchange(&g_ConfigBusy, 1, 0) != 0) return;

    PLUGINCFG settings = SettingsToEdit();
    const bool loaded = LoadConfig(module, settings) != 0;
    if (!loaded) ShowError(module, "Load config error.");
    g_WorkConfig = settings;
    const INT_PTR result =
        DialogBoxParamA(module->hDllInstance, MAKEINTRESOURCEA(kSettingsDialogId), module->hwndParent,
                        SettingsDialogProc, 0);
    // Only Apply (1) applies: a dialog that could not be created (-1) never filled the
    // working copy, so it counts as Cancel.
    if (result == 1) {
        settings = g_WorkConfig;
        // The run restarts from what the file now holds, ranges forced, as Init would load it.
        // One box per Apply: a file that could not be saved is likely not to load either.
        const bool saved = SaveConfig(module, settings) != 0;
        if (!saved) ShowError(module, "Save config error.");
        if (!LoadConfig(module, settings) && saved) ShowError(module, "Load config error.");
        HandOver(Handover::kRestart, settings);
    } else if (loaded) {
        HandOver(Handover::kSettings, settings);
    }

    InterlockedExchange(&g_ConfigBusy, 0);
}

void TakeHandover() {
    if (!g_Run.TryLock()) return;
    ApplyHandover();
    g_Run.Unlock();
}

void EndRunAtUnload(bool processEnds) {
    // No guard here: the loader lock is held, and no other thread may be inside the plug-in
    // while the host frees it. The zones get the user's lighting back (not when the process
    // ends: the driver library, loaded after this DLL, has been shut down before it); the
    // diagnostic client and the library links go with their objects.
    if (!g_Run.IsActive()) return;
    if (!processEnds)
        for (CNVGF& device : g_Devices) device.RestoreZones();
    if (PlayerStarted()) PlayerStop();
    g_Run.End();
}
