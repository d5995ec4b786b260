#pragma once
// Opening the light that a device slot names on a GPU access object.
#include "gpu/CNVGF.h"
#include "settings/PluginCfg.h"

// 1 when the light is usable. The slot's Name always ends as "Unknown", "Unsupport" or the
// adapter's name. A zone light is usable once the user's lighting has been read.
int OpenDevice(CNVGF& object, DEVICECFG& slot);
