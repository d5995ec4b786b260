#include "settings/ConfigFile.h"

#include <cstdio>
#include <cstring>

#include "settings/PluginCfg.h"
#include "support/INIFILE.h"

namespace {

constexpr unsigned int kPathBufferSize = 1024;
constexpr unsigned int kSectionSize = 16;

// Puts "vis_glowmeter.ini" in the DLL's folder into path (kPathBufferSize characters).
// Leaves path empty, and so fails the operation, when the DLL's file name can't be had,
// was cut off, holds no folder, or leaves no room for the settings file's name.
void BuildSettingsPath(const winampVisModule* module, char* path) {
    path[0] = '\0';
    if (!module) return;
    char name[kPathBufferSize] = "";
    const DWORD size = GetModuleFileNameA(module->hDllInstance, name, kPathBufferSize - 1);
    if (size == 0 || size >= kPathBufferSize - 1) return;
    const char* slash = std::strrchr(name, '\\');
    if (!slash) return;
    const size_t folder = static_cast<size_t>(slash - name) + 1;
    const size_t fileName = std::strlen(kSettingsFileName);
    if (folder + fileName >= kPathBufferSize) return;
    std::memcpy(path, name, folder);
    std::memcpy(path + folder, kSettingsFileName, fileName + 1);
}

// Points ini at the settings file beside the DLL; false when its path can't be formed.
bool OpenSettingsFile(const winampVisModule* module, INIFILE& ini) {
    char path[kPathBufferSize];
    BuildSettingsPath(module, path);
    return path[0] && ini.Open(path);
}

void DeviceSection(int slot, char* section) { std::snprintf(section, kSectionSize, "DEVICE%d", slot); }

}  // namespace

int LoadConfig(winampVisModule* module, PLUGINCFG& cfg) {
    INIFILE ini;
    if (!OpenSettingsFile(module, ini)) return 0;

    const char* file = ini.Path().String(0);
    if (file) {
        cfg.Debug = static_cast<int32_t>(GetPrivateProfileIntA("GLOBAL", "Debug", 0, file));
        cfg.Decay = GetPrivateProfileIntA("GLOBAL", "Decay", 4, file);
        cfg.PlayerEnable = static_cast<int32_t>(GetPrivateProfileIntA("HALOSEQ", "Enable", 1, file));
        cfg.PlayerWait = GetPrivateProfileIntA("HALOSEQ", "Wait", 10, file);
        for (int i = 0; i < kDeviceSlots; ++i) {
            char section[kSectionSize];
            DeviceSection(i, section);
            DEVICECFG& slot = cfg.Devices[i];
            slot.Enable = static_cast<int32_t>(GetPrivateProfileIntA(section, "Enable", 0, file));
            slot.Display = GetPrivateProfileIntA(section, "Display", 0, file);
            slot.GPU = GetPrivateProfileIntA(section, "GPU", i, file);
            slot.Attribute = static_cast<int32_t>(GetPrivateProfileIntA(section, "Attribute", 0, file));
            slot.Channel = static_cast<int32_t>(GetPrivateProfileIntA(section, "Channel", 0, file));
        }
    }

    // Unsigned comparisons: a negative number in the file counts as above the upper bound.
    if (cfg.Decay == 0) cfg.Decay = 1;
    if (cfg.Decay > 8) cfg.Decay = 8;
    if (cfg.PlayerWait < 5) cfg.PlayerWait = 5;
    if (cfg.PlayerWait > 60) cfg.PlayerWait = 60;
    return 1;
}

int SaveConfig(winampVisModule* module, const PLUGINCFG& cfg) {
    INIFILE ini;
    if (!OpenSettingsFile(module, ini)) return 0;

    // Every write is made even after one failed; any failure fails the save.
    int ok = 1;
    ok &= ini.Write("GLOBAL", "AutoDetect", "%d", static_cast<unsigned long>(cfg.AutoDetect));
    ok &= ini.Write("GLOBAL", "Decay", "%u", static_cast<unsigned long>(cfg.Decay));
    ok &= ini.Write("HALOSEQ", "Enable", "%d", static_cast<unsigned long>(cfg.PlayerEnable));
    ok &= ini.Write("HALOSEQ", "Wait", "%u", static_cast<unsigned long>(cfg.PlayerWait));
    for (int i = 0; i < kDeviceSlots; ++i) {
        char section[kSectionSize];
        DeviceSection(i, section);
        const DEVICECFG& slot = cfg.Devices[i];
        ok &= ini.Write(section, "Enable", "%d", static_cast<unsigned long>(slot.Enable));
        ok &= ini.Write(section, "Display", "%u", static_cast<unsigned long>(slot.Display));
        ok &= ini.Write(section, "GPU", "%u", static_cast<unsigned long>(slot.GPU));
        ok &= ini.Write(section, "Attribute", "%d", static_cast<unsigned long>(slot.Attribute));
        ok &= ini.Write(section, "Channel", "%d", static_cast<unsigned long>(slot.Channel));
    }
    return ok;
}
