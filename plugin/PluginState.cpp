#include "plugin/PluginState.h"

CNVGF g_Devices[kDeviceSlots];
CCS g_RenderLock;
