#pragma once
// Where the test program and the files built beside it sit: the build folder, which also
// holds the plug-in DLL and the tools, and the simulated driver in its folder of its own.
#include <windows.h>

#include <string>

// The test program's folder, with its trailing backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path);
    return file.substr(0, file.find_last_of('\\') + 1);
}

inline std::string PluginPath() { return ProgramFolder() + "vis_glowmeter.dll"; }
