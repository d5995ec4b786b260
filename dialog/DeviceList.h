#pragma once
// The settings dialog's device list (control 1200): the working copy's eight slots by name.
#include <windows.h>

// Names every slot of the working copy whose name is empty, then fills the list with the
// eight names in slot order.
void FillDeviceList(HWND dialog);
