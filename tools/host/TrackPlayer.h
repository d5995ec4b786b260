#pragma once
// One visualization run over a track, the way Winamp plays one: the plug-in's module runs on
// a visualization thread of its own (VisThread), fed the waveform at the playing position,
// while the calling thread is the host's UI thread: it keeps its messages flowing and opens
// the plug-in's settings as Winamp's Preferences page does, at a given moment of the track or
// when the user presses "c" on the console.
#include <windows.h>

#include <cstdint>
#include <string>

#include "sdk/WinampVis.h"
#include "tools/host/WavFile.h"

class ProgressLine;

struct PlayOptions {
    bool fast = false;         // no real-time pacing: the position advances delayMs per frame
    long long maxFrames = -1;  // stop after this many frames; -1: play to the end
    volatile long* stop = nullptr;  // non-zero ends the run early (Ctrl+C)
    long long configAtMs = -1;  // open the settings when the track reaches this position; -1 never
};

struct PlayResult {
    std::string error;        // the plug-in or its module could not be had
    int initResult = 0;       // what Init returned; anything but 0 means the module did not start
    long long frames = 0;     // Render calls made
    uint64_t positionMs = 0;  // where playing stopped
    bool stopped = false;     // ended through `stop`
};

// Frame of the track at a playing position in milliseconds.
uint64_t FrameAtMs(const WavAudio& audio, uint64_t ms);

// Plays `audio` into module `module` of the plug-in at `plugin`, owned by `mainWindow`.
PlayResult PlayTrack(const std::string& plugin, int module, HWND mainWindow, const WavAudio& audio,
                     const PlayOptions& options, ProgressLine& progress);
