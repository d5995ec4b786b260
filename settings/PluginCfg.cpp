#include "settings/PluginCfg.h"

PLUGINCFG g_LiveConfig = {};
PLUGINCFG g_WorkConfig = {};
