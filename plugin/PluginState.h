#pragma once
// The plug-in's state lives in process-wide instances, one of each for as long as the DLL is
// loaded. The eight GPU access objects and the render lock are declared here; this is the
// map of all of them, with the file that holds each and the threads that touch it (the run's
// thread is the host's visualization thread, which called Init; the UI thread is the one that
// calls Config).
//
//   instance            file                            threads
//   g_LiveConfig        settings/PluginCfg.cpp          the run's (Init, Render, Quit and the
//                                                       restart); Config's only with no run, under
//                                                       the run control's guard
//   g_WorkConfig        settings/PluginCfg.cpp          the UI thread (Config and its dialog)
//   g_Devices           plugin/PluginState.cpp          the run's
//   g_RenderLock        plugin/PluginState.cpp          the run's (Render's stamp, the player
//                                                       timer's tick); tried, never waited for
//   g_Player            plugin/PlayerCoordination.cpp   the run's, flags under the render lock
//   g_Clock             plugin/PlayerClock.cpp          the run's; replaced by tests
//   g_Run               plugin/RunControl.cpp           both: the hand-over from Config to the
//                                                       run, under its own guard
//   g_ConfigBusy        plugin/Lifecycle.cpp            the UI thread (one dialog at a time)
//   g_Modules, g_Header plugin/PluginEntry.cpp          the host fills the records' fields
//   g_CurrentSlot,      dialog/SettingsDialog.cpp       the UI thread (the open dialog)
//   g_DetectedCount
//   g_Client            client/CLUMOCLI.cpp             the run's
//   the loader's count, handle and entry points
//                       client/WS32LIB.cpp,             any: loads and unloads under the
//                       client/WinsockEntries.cpp       loader's lock
//   the driver library's nvapi_QueryInterface
//                       gpu/NvApi.cpp                   any: resolved once
#include "gpu/CNVGF.h"
#include "settings/PluginCfg.h"
#include "support/CCS.h"

// One GPU access object per device slot, in slot order.
extern CNVGF g_Devices[kDeviceSlots];

// Guards the player-coordination flags and the last-render tick; only ever tried.
extern CCS g_RenderLock;
constexpr const char* kRenderLockName = "CCS_GLOWMETER_VIS_RENDER";
