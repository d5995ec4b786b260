#pragma once
// Test helpers for a visualization run: the settings the run should start from (written with
// tests/common/SettingsFile.h, e.g. beside the test program, where Init's load looks when the
// module's hDllInstance is null), a file's whole text, and the waveform of a module record.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "settings/PluginCfg.h"

namespace testrun {

// Settings with every slot disabled, Display 0 and GPU equal to the slot's number.
inline PLUGINCFG DefaultSettings() {
    PLUGINCFG cfg = {};
    cfg.Decay = 4;
    cfg.PlayerEnable = 1;
    cfg.PlayerWait = 10;
    for (int i = 0; i < kDeviceSlots; ++i) cfg.Devices[i].GPU = static_cast<uint32_t>(i);
    return cfg;
}

// One light: slot 0 drives the logo light of display 0, GPU 0 from the left channel, with
// no player coordination and the diagnostic switch as given.
inline PLUGINCFG OneLeftLogoLight(int debug = 0) {
    PLUGINCFG cfg = DefaultSettings();
    cfg.Debug = debug;
    cfg.PlayerEnable = 0;
    cfg.Devices[0] = {1, 0, 0, kAttributeLogo, kChannelLeft, ""};
    return cfg;
}

// The whole content of a file ("" when it does not exist).
inline std::string ReadFileText(const std::string& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, got);
        std::fclose(file);
    }
    return text;
}

// One channel's row whose peak is `peak`: deep negative excursions everywhere (they must not
// count), the peak itself in the last sample that is read.
inline void SetRow(unsigned char* row, int peak) {
    const int floor = peak < -100 ? peak : -100;
    std::memset(row, static_cast<unsigned char>(floor), 576);
    row[575] = static_cast<unsigned char>(peak);
}

template <typename Module>
void SetWaveform(Module& module, int leftPeak, int rightPeak) {
    SetRow(module.waveformData[0], leftPeak);
    SetRow(module.waveformData[1], rightPeak);
}

}  // namespace testrun
