#pragma once
// Where the built plug-in DLL sits for the tests: beside the test program.
#include <windows.h>

#include <string>

inline std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::string PluginPath() { return ProgramFolder() + "vis_glowmeter.dll"; }
