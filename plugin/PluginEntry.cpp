// The plug-in's face to the host: the header, the module lister and the three modules.
#include "plugin/Lifecycle.h"
#include "plugin/Render.h"

namespace {

winampVisModule MakeModule(const char* name, int delayMs) {
    winampVisModule module = {};
    module.description = const_cast<char*>(name);
    module.latencyMs = 25;
    module.delayMs = delayMs;
    module.spectrumNch = 0;
    module.waveformNch = 2;
    module.Config = Config;
    module.Init = Init;
    module.Render = Render;
    module.Quit = Quit;
    return module;
}

// Static, writable records: the host fills in its fields and the waveform rows in place.
winampVisModule g_Modules[3] = {
    MakeModule("Normal response", 50),
    MakeModule("High response", 25),
    MakeModule("Low response", 200),
};

winampVisModule* GetModule(int index) {
    if (index < 0 || index > 2) return nullptr;
    return &g_Modules[index];
}

winampVisHeader g_Header = {kVisHeaderVersion, const_cast<char*>("Glowmeter v1.03"), GetModule};

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* winampVisGetHeader() { return &g_Header; }
