#include "tools/host/DarkLights.h"

#include <windows.h>

#include <cwchar>

#include "gpu/NvApi.h"
#include "settings/PluginCfg.h"
#include "settings/SettingsPath.h"
#include "support/SystemLibrary.h"
#include "tools/common/Utf8Text.h"

namespace {

// A slot lights when it is enabled and fed by a channel ("Disable" and unknown codes never
// set the light), read with the plug-in's defaults for missing keys.
bool AnySlotLights(const wchar_t* file) {
    for (int i = 0; i < kDeviceSlots; ++i) {
        wchar_t section[16];
        std::swprintf(section, 16, L"DEVICE%d", i);
        const int enable = static_cast<int>(GetPrivateProfileIntW(section, L"Enable", 0, file));
        const int channel = static_cast<int>(GetPrivateProfileIntW(section, L"Channel", kChannelDisable, file));
        if (enable != 0 && (channel == kChannelLeft || channel == kChannelRight || channel == kChannelBoth)) return true;
    }
    return false;
}

// The settings file beside the plug-in, as the plug-in forms its path.
std::wstring SettingsBeside(const std::string& pluginPath) {
    std::wstring path = WideFromUtf8(pluginPath);
    const size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path + kSettingsFileName;
}

}  // namespace

std::vector<std::string> DarkLightReasons(const std::string& pluginPath) {
    std::vector<std::string> reasons;
    const std::wstring settings = SettingsBeside(pluginPath);
    const std::string shown = Utf8FromWide(settings.c_str());
    const DWORD attributes = GetFileAttributesW(settings.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        reasons.push_back("no settings file " + shown +
                          ": every light is off (put the sample vis_glowmeter.ini there, or turn a light on with --config)");
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && !AnySlotLights(settings.c_str())) {
        reasons.push_back("no light is enabled in " + shown +
                          " (a light needs Enable=1 and a Channel of 1, 2 or 3): the plug-in will light nothing");
    }
    // A settings "file" that is a folder or can't be read is the plug-in's own to report
    // ("Load config error.").

    char driver[kSystemLibraryPathSize];
    if (SystemLibraryPath(NVAPI_LIBRARY_NAME, driver) && GetFileAttributesA(driver) == INVALID_FILE_ATTRIBUTES) {
        reasons.push_back(std::string("no NVIDIA driver library at ") + driver +
                          ": the plug-in will light nothing (NVIDIA's display driver puts it there; "
                          "for a try without one, install the simulated driver there)");
    }
    return reasons;
}
