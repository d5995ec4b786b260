#pragma once
// The About box: name, version and legal notice from the plug-in DLL's version resource.
#include <windows.h>

constexpr UINT kAboutBoxStyle = MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST;  // 0x50040

// Shows the box owned by `dialog`, reading the version resource of the module the dialog
// was created from. Shows nothing when the file name or its version data can't be read.
void ShowAboutBox(HWND dialog);
