// glowmeter-host: plays a WAV file into a Winamp visualization plug-in, the way Winamp runs
// one of its modules, so the plug-in can be watched and measured without Winamp: the module
// runs on a visualization thread that loads and frees the DLL itself, and the settings open
// from this, the UI thread, with a load and free of their own.
// The command line is taken wide and every path is opened wide, so any file name works; the
// messages are UTF-8 (wide characters on a console).
// Exit codes: 0 done, 1 wrong command line, 2 unusable track, 3 unusable plug-in,
// 130 stopped with Ctrl+C.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/common/ConsoleText.h"
#include "tools/common/Utf8Text.h"
#include "tools/host/DarkLights.h"
#include "tools/host/FileBytes.h"
#include "tools/host/HostOptions.h"
#include "tools/host/HostWindow.h"
#include "tools/host/PreferencesPage.h"
#include "tools/host/ProgressLine.h"
#include "tools/host/ProgressText.h"
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

void Say(const std::string& message) { WriteText(StdStream::Err, "glowmeter-host: " + message + "\n"); }

int Fail(int code, const std::string& message) {
    Say(message);
    return code;
}

void ListModules(const VisPlugin& plugin) {
    std::string text = plugin.Header().description ? plugin.Header().description : "(no description)";
    text += "\n";
    for (int i = 0; i < plugin.ModuleCount(); ++i) {
        const winampVisModule* module = plugin.Module(i);
        char line[160];
        std::snprintf(line, sizeof line, "  %d  %-24s every %d ms\n", i,
                      module->description ? module->description : "(no name)", module->delayMs);
        text += line;
    }
    WriteText(StdStream::Out, text);
}

// Glowmeter's own checks apply to Glowmeter only: another plug-in has other settings. Its
// header's description starts with its name ("Glowmeter v1.03").
bool IsGlowmeter(const VisPlugin& plugin) {
    constexpr char kName[] = "Glowmeter";
    const char* description = plugin.Header().description;
    return description && std::strncmp(description, kName, sizeof kName - 1) == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // A plug-in whose libraries are missing gets an error result, not a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    const Utf8Arguments arguments(argc, argv);
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(arguments.Count(), arguments.Values(), options, error)) {
        WriteText(StdStream::Err, "glowmeter-host: " + error + "\n" + kHostUsage);
        return kUsage;
    }
    if (options.help) {
        WriteText(StdStream::Out, kHostUsage);
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
        if (audio.dataCutShort) {
            Say("warning: the samples of \"" + options.track + "\" end before the size its data chunk gives: playing the " +
                TrackTime(audio.DurationMs()) + " that are there");
        }
    }

    HostWindow window;
    std::string pluginPath;
    std::string moduleName;
    int delayMs = 0;
    std::vector<std::string> darkReasons;
    {
        // The plug-in is looked at here and let go again, as Winamp lists its plug-ins: the
        // run and the settings load it on their own threads.
        VisPlugin plugin;
        if (!plugin.Load(options.plugin, window.Handle(), error)) return Fail(kBadPlugin, error);
        if (options.list) {
            ListModules(plugin);
            return kDone;
        }
        const winampVisModule* module = plugin.Prepare(options.module, window.Handle(), error);
        if (!module) return Fail(kUsage, error + " (it has " + std::to_string(plugin.ModuleCount()) + ")");
        pluginPath = plugin.Path();
        moduleName = module->description ? module->description : "?";
        delayMs = module->delayMs;
        if (play && IsGlowmeter(plugin)) darkReasons = DarkLightReasons(plugin.Instance());
    }
    if (options.config) {
        if (!OpenPluginSettings(pluginPath, options.module, window.Handle(), error)) return Fail(kBadPlugin, error);
        return kDone;
    }

    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    for (const std::string& reason : darkReasons) Say(reason);
    char format[96];
    std::snprintf(format, sizeof format, " (%u Hz %u-bit %s) into \"", audio.sampleRate, audio.bitsPerSample,
                  audio.channels == 1 ? "mono" : "stereo");
    Say(options.track + format + moduleName + "\", every " + std::to_string(delayMs) + " ms");
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
