// A DLL with one module whose Init fails: the host must report it and never render it.
// Rendering it anyway ends the process with exit code 77.
#include <windows.h>

#include "sdk/WinampVis.h"

namespace {

void Config(winampVisModule*) {}
int FailedInit(winampVisModule*) { return 1; }
int Render(winampVisModule*) {
    ExitProcess(77);
    return 0;
}
void Quit(winampVisModule*) {}

winampVisModule g_Module = {const_cast<char*>("Failing module"), nullptr, nullptr, 0, 0, 0, 50, 0, 2, {}, {},
                            Config, FailedInit, Render, Quit, nullptr};

winampVisModule* OneModule(int index) { return index == 0 ? &g_Module : nullptr; }
winampVisHeader g_Header = {kVisHeaderVersion, const_cast<char*>("Failing test plug-in"), OneModule};

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* winampVisGetHeader() { return &g_Header; }
