#pragma once
// Why the Glowmeter plug-in will light nothing on this run, found before it starts, so that a
// run that stays dark says why instead of playing on in silence:
//   - no light is enabled in the settings file beside the plug-in (or there is no such file),
//   - no driver library sits in the system folder, where the plug-in loads it from.
// The settings file is only read, as the plug-in reads it; nothing of the plug-in changes.
// A scenario file of the simulated driver that is missing or malformed is reported by the
// simulated driver itself.
#include <string>
#include <vector>

// One line of text per reason (UTF-8, without the program's name); empty when the lights
// can go on. `pluginPath` is the plug-in DLL's full path (UTF-8).
std::vector<std::string> DarkLightReasons(const std::string& pluginPath);
