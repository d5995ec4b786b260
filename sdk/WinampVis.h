#pragma once
// The Winamp visualization plug-in records, laid out as the host expects them in memory: the
// host's published interface, which the plug-in, its settings file code and the tools that
// act as a host all share.
#include <windows.h>
#include <cstddef>

// Samples per channel in each waveform (and spectrum) row the host hands over.
constexpr int kWaveformSamples = 576;

struct winampVisModule {
    char* description;        // the module's name
    HWND hwndParent;          // filled by the host: owner of dialogs and message boxes
    HINSTANCE hDllInstance;   // filled by the host: this DLL's instance
    int sRate;                // filled by the host; not read
    int nCh;                  // filled by the host; not read
    int latencyMs;
    int delayMs;              // milliseconds between Render calls
    int spectrumNch;
    int waveformNch;
    unsigned char spectrumData[2][kWaveformSamples];
    unsigned char waveformData[2][kWaveformSamples];  // row 0 left, row 1 right; signed 8-bit samples
    void (*Config)(winampVisModule* this_mod);
    int (*Init)(winampVisModule* this_mod);
    int (*Render)(winampVisModule* this_mod);
    void (*Quit)(winampVisModule* this_mod);
    void* userData;
};

struct winampVisHeader {
    int version;
    char* description;
    winampVisModule* (*getModule)(int);
};

constexpr int kVisHeaderVersion = 0x103;

#if defined(_M_IX86) || defined(__i386__)
// The 32-bit host shares these records with the plug-in byte for byte.
static_assert(sizeof(winampVisModule) == 2360, "winampVisModule must be 2360 bytes");
static_assert(offsetof(winampVisModule, waveformData) == 1188, "waveformData at 1188");
static_assert(offsetof(winampVisModule, Config) == 2340, "Config at 2340");
static_assert(offsetof(winampVisModule, userData) == 2356, "userData at 2356");
static_assert(sizeof(winampVisHeader) == 12, "winampVisHeader is three 32-bit fields");
#endif

using winampVisGetHeaderType = winampVisHeader* (*)();
