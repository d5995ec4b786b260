#include "settings/ConfigFile.h"

int LoadConfig(winampVisModule*) { return 1; }
int SaveConfig(winampVisModule*) { return 1; }
