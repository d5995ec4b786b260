#pragma once
// The settings file "vis_glowmeter.ini" in the folder of the plug-in DLL.
#include "sdk/WinampVis.h"
#include "settings/PluginCfg.h"

// Reads the file into `cfg` (by default the live settings), with defaults and ranges; 1 on
// success. 0, with `cfg` as it was, when the file's path can't be formed or the file exists
// but can't be read (another program holds it, the user may not read it, a folder has its
// name). A missing file is no failure. Writes every field but AutoDetect and the slots' names.
int LoadConfig(winampVisModule* module, PLUGINCFG& cfg = g_LiveConfig);
// Writes `cfg` (by default the live settings) to the file; 1 when every value is on the disk,
// 0 on any failure, with the file as it was (see SettingsFileWriter.h).
int SaveConfig(winampVisModule* module, const PLUGINCFG& cfg = g_LiveConfig);
