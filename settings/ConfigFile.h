#pragma once
// The settings file "vis_glowmeter.ini" in the folder of the plug-in DLL.
#include "plugin/WinampVis.h"

constexpr const char* kSettingsFileName = "vis_glowmeter.ini";

// Reads the file into the live settings, with defaults and ranges; 1 on success, 0 when the
// file's path can't be formed. A missing file is no failure.
int LoadConfig(winampVisModule* module);
// Writes the live settings to the file; 1 on success, 0 on failure.
int SaveConfig(winampVisModule* module);
