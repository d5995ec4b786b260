#pragma once
// Where the settings file lives: "vis_glowmeter.ini" in the folder of the plug-in DLL. The
// path is wide, so a folder named outside the ANSI code page (Winamp may sit in any folder)
// works as well as any other.
#include "sdk/WinampVis.h"

constexpr wchar_t kSettingsFileName[] = L"vis_glowmeter.ini";
constexpr unsigned kSettingsPathSize = 1024;
// The plug-in opens the file for its own checks only, sharing it in every way, so that no
// other program is ever kept from it.
constexpr DWORD kSettingsFileSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Puts the path into `path`; false, with `path` empty, when the DLL's file name can't be had,
// was cut off, holds no folder, or leaves no room for the settings file's name.
bool SettingsFilePath(const winampVisModule* module, wchar_t (&path)[kSettingsPathSize]);
