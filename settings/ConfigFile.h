#pragma once
// The settings file "vis_glowmeter.ini" in the folder of the plug-in DLL.
#include "plugin/WinampVis.h"
#include "settings/PluginCfg.h"

constexpr const char* kSettingsFileName = "vis_glowmeter.ini";

// Reads the file into `cfg` (by default the live settings), with defaults and ranges; 1 on
// success, 0 when the file's path can't be formed. A missing file is no failure. Writes every
// field but AutoDetect and the slots' names.
int LoadConfig(winampVisModule* module, PLUGINCFG& cfg = g_LiveConfig);
// Writes `cfg` (by default the live settings) to the file; 1 on success, 0 on failure.
int SaveConfig(winampVisModule* module, const PLUGINCFG& cfg = g_LiveConfig);
