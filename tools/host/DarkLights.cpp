#include "tools/host/DarkLights.h"

#include <windows.h>

#include "gpu/NvApi.h"
#include "settings/ConfigFile.h"
#include "settings/PluginCfg.h"
#include "settings/SettingsPath.h"
#include "support/SystemLibrary.h"
#include "tools/common/Utf8Text.h"

namespace {

// A slot lights when it is enabled and fed by a channel ("Disable" and unknown codes never
// set the light).
bool AnySlotLights(const PLUGINCFG& cfg) {
    for (const DEVICECFG& slot : cfg.Devices) {
        const int channel = slot.Channel;
        if (slot.Enable != 0 && (channel == kChannelLeft || channel == kChannelRight || channel == kChannelBoth))
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> DarkLightReasons(HINSTANCE plugin) {
    std::vector<std::string> reasons;
    // The settings are read by the plug-in's own code, on a module record that names the
    // plug-in's DLL, so the path and the defaults are the plug-in's.
    winampVisModule module{};
    module.hDllInstance = plugin;
    wchar_t settings[kSettingsPathSize];
    if (SettingsFilePath(&module, settings)) {
        const std::string shown = Utf8FromWide(settings);
        PLUGINCFG cfg{};
        if (GetFileAttributesW(settings) == INVALID_FILE_ATTRIBUTES) {
            reasons.push_back("no settings file " + shown +
                              ": every light is off (put the sample vis_glowmeter.ini there, "
                              "or turn a light on with --config)");
        } else if (LoadConfig(&module, cfg) && !AnySlotLights(cfg)) {
            reasons.push_back("no light is enabled in " + shown +
                              " (a light needs Enable=1 and a Channel of 1, 2 or 3): the plug-in will light nothing");
        }
    }
    // A settings file whose path can't be formed, or a "file" that is a folder or can't be
    // read, is the plug-in's own to report ("Load config error.").

    char driver[kSystemLibraryPathSize];
    if (SystemLibraryPath(NVAPI_LIBRARY_NAME, driver) && GetFileAttributesA(driver) == INVALID_FILE_ATTRIBUTES) {
        reasons.push_back(std::string("no NVIDIA driver library at ") + driver +
                          ": the plug-in will light nothing (NVIDIA's display driver puts it there; "
                          "for a try without one, install the simulated driver there)");
    }
    return reasons;
}
