// glowmeter-host: plays a WAV file into a Winamp visualization plug-in, the way Winamp runs
// one of its modules, so the plug-in can be watched and measured without Winamp: the module
// runs on a visualization thread that loads and frees the DLL itself, and the settings open
// from this, the UI thread, with a load and free of their own.
// Exit codes: 0 done, 1 wrong command line, 2 unusable track, 3 unusable plug-in,
// 130 stopped with Ctrl+C.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/host/FileBytes.h"
#include "tools/host/HostOptions.h"
#include "tools/host/HostWindow.h"
#include "tools/host/PreferencesPage.h"
#include "tools/host/ProgressLine.h"
#include "tools/host/TrackPlayer.h"
#include "tools/host/VisPlugin.h"
#include "tools/host/WavFile.h"

namespace {

enum ExitCode { kDone = 0, kUsage = 1, kBadTrack = 2, kBadPlugin = 3, kStopped = 130 };

volatile long g_Stop = 0;

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    InterlockedExchange(&g_Stop, 1);
    return TRUE;
}

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "glowmeter-host: %s\n", message.c_str());
    return code;
}

void ListModules(const VisPlugin& plugin) {
    std::printf("%s\n", plugin.Header().description ? plugin.Header().description : "(no description)");
    for (int i = 0; i < plugin.ModuleCount(); ++i) {
        const winampVisModule* module = plugin.Module(i);
        std::printf("  %d  %-24s every %d ms\n", i, module->description ? module->description : "(no name)",
                    module->delayMs);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A plug-in whose libraries are missing gets an error result, not a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "glowmeter-host: %s\n%s", error.c_str(), kHostUsage);
        return kUsage;
    }
    if (options.help) {
        std::printf("%s", kHostUsage);
        return kDone;
    }

    // The track is checked first: a bad file never starts the plug-in.
    std::vector<uint8_t> bytes;
    WavAudio audio;
    const bool play = !options.list && !options.config;
    if (play) {
        if (!ReadFileBytes(options.track, bytes, error))
            return Fail(kBadTrack, "cannot read the track \"" + options.track + "\": " + error);
        const WavError wavError = ParseWav(bytes.data(), bytes.size(), audio);
        if (wavError != WavError::None)
            return Fail(kBadTrack, "cannot play \"" + options.track + "\": " + WavErrorText(wavError));
    }

    HostWindow window;
    std::string pluginPath;
    std::string moduleName;
    int delayMs = 0;
    {
        // The plug-in is looked at here and let go again, as Winamp lists its plug-ins: the
        // run and the settings load it on their own threads.
        VisPlugin plugin;
        if (!plugin.Load(options.plugin, window.Handle(), error)) return Fail(kBadPlugin, error);
        if (options.list) {
            ListModules(plugin);
            return kDone;
        }
        if (options.module >= plugin.ModuleCount()) {
            return Fail(kUsage, "the plug-in has no module " + std::to_string(options.module) + " (it has " +
                                    std::to_string(plugin.ModuleCount()) + ")");
        }
        const winampVisModule& module = *plugin.Module(options.module);
        pluginPath = plugin.Path();
        moduleName = module.description ? module.description : "?";
        delayMs = module.delayMs;
    }
    if (options.config) {
        if (!OpenPluginSettings(pluginPath, options.module, window.Handle(), error)) return Fail(kBadPlugin, error);
        return kDone;
    }

    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    std::fprintf(stderr, "glowmeter-host: %s (%u Hz %u-bit %s) into \"%s\", every %d ms\n",
                 options.track.c_str(), audio.sampleRate, audio.bitsPerSample,
                 audio.channels == 1 ? "mono" : "stereo", moduleName.c_str(), delayMs);
    ProgressLine progress;
    PlayOptions playOptions;
    playOptions.fast = options.fast;
    playOptions.maxFrames = options.maxFrames;
    playOptions.stop = &g_Stop;
    playOptions.configAtMs = options.configAtMs;
    const PlayResult result = PlayTrack(pluginPath, options.module, window.Handle(), audio, playOptions, progress);
    if (!result.error.empty()) return Fail(kBadPlugin, result.error);
    if (result.initResult != 0)
        return Fail(kBadPlugin, "the module did not start (Init returned " + std::to_string(result.initResult) + ")");
    return result.stopped ? kStopped : kDone;
}
