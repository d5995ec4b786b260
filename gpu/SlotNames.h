#pragma once
// Naming the device slots that have no name yet, as the settings dialog lists them.
#include "settings/PluginCfg.h"

// Opens each slot whose name is empty on a GPU access object of its own making, so its name
// becomes "Unknown", "Unsupport" or the adapter's; named slots make no driver call.
void NameUnnamedSlots(DEVICECFG slots[kDeviceSlots]);
