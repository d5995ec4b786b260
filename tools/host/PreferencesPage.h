#pragma once
// Winamp's Preferences page opening a plug-in's settings ("Configure"): on the UI thread it
// loads the DLL (a second reference to it while a visualization runs), calls the selected
// module's Config and frees the DLL as soon as Config returns.
#include <windows.h>

#include <string>

// False, with the reason, when the plug-in or the module can't be had.
bool OpenPluginSettings(const std::string& plugin, int module, HWND mainWindow, std::string& error);
