#pragma once
// Plug-in-wide state shared by the entries: one instance each for the whole process.
#include "gpu/CNVGF.h"
#include "gpu/OpenDevice.h"
#include "settings/PluginCfg.h"
#include "plugin/WinampVis.h"
#include "support/CCS.h"

// One GPU access object per device slot, in slot order.
extern CNVGF g_Devices[kDeviceSlots];

// Guards the player-coordination flags and the last-render tick; only ever tried.
extern CCS g_RenderLock;
constexpr const char* kRenderLockName = "CCS_GLOWMETER_VIS_RENDER";

// The four entries that all three modules share.
void Config(winampVisModule* module);
int Init(winampVisModule* module);
int Render(winampVisModule* module);
void Quit(winampVisModule* module);
