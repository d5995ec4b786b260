#pragma once
// The host's command line:
//   glowmeter-host [options] [plugin.dll] track.wav
//   glowmeter-host --list [plugin.dll]
//   glowmeter-host --config [--module N] [plugin.dll]
//   glowmeter-host --config-at SECONDS [options] [plugin.dll] track.wav
#include <string>

// Paths are UTF-8, as the host's wide command line gives them (tools/common/Utf8Text.h).
struct HostOptions {
    std::string plugin;      // empty: vis_glowmeter.dll beside the host
    std::string track;       // the WAV file to play
    int module = 0;          // index of the module to run
    long long maxFrames = -1;  // stop after this many frames; -1: play to the end
    long long configAtMs = -1;  // open the settings at this position of the track; -1: never
    bool fast = false;       // render without real-time pacing
    bool list = false;       // list the modules and stop
    bool config = false;     // open the module's settings and stop
    bool help = false;
};

// Reads argv[1..argc-1]. A positional argument ending in ".dll" (any case) names the plug-in,
// any other the track. On a mistake returns false with the reason in `error`.
bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error);

extern const char kHostUsage[];
