#pragma once
// One visualization run over a track, the way Winamp drives a module: Init, then Render every
// delayMs milliseconds with the waveform at the playing position, then Quit.
#include <cstdint>

#include "plugin/WinampVis.h"
#include "tools/host/WavFile.h"

class ProgressLine;

struct PlayOptions {
    bool fast = false;         // no real-time pacing: the position still advances delayMs per frame
    long long maxFrames = -1;  // stop after this many frames; -1: play to the end
    volatile long* stop = nullptr;  // non-zero ends the run early (Ctrl+C)
};

struct PlayResult {
    int initResult = 0;       // what Init returned; anything but 0 means the module did not start
    long long frames = 0;     // Render calls made
    uint64_t positionMs = 0;  // where playing stopped
    bool stopped = false;     // ended through `stop`
};

// Frame of the track at a playing position in milliseconds.
uint64_t FrameAtMs(const WavAudio& audio, uint64_t ms);

// A module whose Init fails (returns non-zero) is neither rendered nor quit, as Winamp does.
// Runs on the calling thread, which must keep running until the function returns: the
// plug-in's timers are this thread's and are served between frames.
PlayResult PlayTrack(winampVisModule& module, const WavAudio& audio, const PlayOptions& options,
                     ProgressLine& progress);
