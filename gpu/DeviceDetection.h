#pragma once
// The scan for lights: every display 0..7 and its GPUs 0..7, each light found filling the
// next device slot and traced to the debugger.
#include "settings/PluginCfg.h"

// Fills slots from the first on and returns how many were filled (0..8). Uses a GPU access
// object of its own only.
unsigned DetectDevices(DEVICECFG slots[kDeviceSlots]);
