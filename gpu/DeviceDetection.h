#pragma once
// The scan for lights, the settings dialog's device list and the debugger trace.
#include <windows.h>
#include "settings/PluginCfg.h"

constexpr int kDeviceListId = 1200;

// Scans displays 0..7 and their GPUs 0..7 for lights and fills slots from the first on;
// returns how many were filled (0..8). Uses a local GPU access object only.
unsigned DetectDevices(DEVICECFG slots[kDeviceSlots]);
// Fills the dialog's device list (control 1200) with the names of the working copy's eight
// slots, naming first every slot whose name is empty.
void FillDeviceList(HWND dialog);
// printf-style text to the debugger output, through a 1024-character buffer.
void DebugTrace(const char* format, ...);
