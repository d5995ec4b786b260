#include "client/WS32LIB.h"

int WS32LIB_LoadDLL() { return -1; }
void WS32LIB_UnloadDLL() {}
int WS32LIB_IsLoadDLL() { return 0; }
unsigned int WS32LIB_GetLoadCount() { return 0; }
HINSTANCE WS32LIB_GetDLLHandle() { return nullptr; }
