#pragma once
// Why the Glowmeter plug-in will light nothing on this run, found before it starts, so that a
// run that stays dark says why instead of playing on in silence:
//   - no light is enabled in the settings file beside the plug-in (or there is no such file),
//   - no driver library sits in the system folder, where the plug-in loads it from.
// The settings file is only read, by the plug-in's own settings code; nothing of the plug-in
// changes.
// A scenario file of the simulated driver that is missing or malformed is reported by the
// simulated driver itself.
#include <windows.h>

#include <string>
#include <vector>

// One line of text per reason (UTF-8, without the program's name); empty when the lights
// can go on. `plugin` is the loaded plug-in DLL.
std::vector<std::string> DarkLightReasons(HINSTANCE plugin);
