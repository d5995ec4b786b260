#pragma once
// The settings file as tests write it: "vis_glowmeter.ini" beside a module, every key that a
// load reads (and AutoDetect) as plain decimal values, through the profile functions.
#include <windows.h>

#include <cstdio>
#include <string>

#include "settings/PluginCfg.h"
#include "support/ModulePath.h"

// "vis_glowmeter.ini" in the folder of `module` (null: the test program itself).
inline std::string SettingsPath(HMODULE module = nullptr) {
    char path[MAX_PATH] = "";
    PathBesideModule(module, "vis_glowmeter.ini", path, sizeof path);
    return path;
}

inline void WriteSettingsKey(const std::string& path, const char* section, const char* key, long long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%lld", value);
    WritePrivateProfileStringA(section, key, text, path.c_str());
}

inline void WriteSettingsFile(const PLUGINCFG& cfg, const std::string& path) {
    WriteSettingsKey(path, "GLOBAL", "Debug", cfg.Debug);
    WriteSettingsKey(path, "GLOBAL", "AutoDetect", cfg.AutoDetect);
    WriteSettingsKey(path, "GLOBAL", "Decay", cfg.Decay);
    WriteSettingsKey(path, "HALOSEQ", "Enable", cfg.PlayerEnable);
    WriteSettingsKey(path, "HALOSEQ", "Wait", cfg.PlayerWait);
    for (int i = 0; i < kDeviceSlots; ++i) {
        char section[16];
        std::snprintf(section, sizeof(section), "DEVICE%d", i);
        const DEVICECFG& slot = cfg.Devices[i];
        WriteSettingsKey(path, section, "Enable", slot.Enable);
        WriteSettingsKey(path, section, "Display", slot.Display);
        WriteSettingsKey(path, section, "GPU", slot.GPU);
        WriteSettingsKey(path, section, "Attribute", slot.Attribute);
        WriteSettingsKey(path, section, "Channel", slot.Channel);
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush the profile cache
}

inline void RemoveSettingsFile(const std::string& path) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    DeleteFileA(path.c_str());
}
