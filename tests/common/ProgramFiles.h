#pragma once
// Where the test program and the files built beside it sit: the build folder, which also
// holds the plug-in DLL and the tools, and the simulated driver in its folder of its own.
#include <windows.h>

#include <string>

#include "support/ModulePath.h"

// The test program's folder, with its trailing backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    PathBesideModule(nullptr, "", path, sizeof path);
    return path;
}

inline std::string PluginPath() { return ProgramFolder() + "vis_glowmeter.dll"; }
