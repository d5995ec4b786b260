// Cost of one Render and the heap allocations it makes, over varied audio:
//   (a) every slot disabled, player coordination off: the peak scan alone;
//   (a') the same with player coordination on: the scan plus the frame's stamp;
//   (b) eight enabled slots on the simulated driver (call recording off), coordination on;
//   (c) the same with the eight slots on the GPUs' illumination zones ("Light Zones").
// Frames are timed in batches with the performance counter; the figure is the median over
// the batches of the batch's time per frame. The program imports the simulated driver, which
// must be in the system folder, where the plug-in looks for the driver (the tests put it
// there; by hand: nvapi-sim-install install simulated-driver\nvapi64.dll).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gpu/NvApi.h"
#include "plugin/Lifecycle.h"
#include "plugin/Render.h"
#include "support/ModulePath.h"
#include "tools/bench/AllocationCounter.h"
#include "tools/nvapi_sim/NvapiSim.h"

namespace {

constexpr int kAudioFrames = 64;  // distinct frames of audio, played round and round
winampVisModule g_Frames[kAudioFrames];

// A small deterministic generator, so every run measures the same audio.
unsigned g_Seed = 12345;
unsigned NextRandom() {
    g_Seed = g_Seed * 1103515245u + 12345u;
    return g_Seed >> 8;
}

// Sines of changing pitch and loudness with noise, silent frames, clipped frames and frames
// that stay below the zero line, different on the two channels.
void FillAudio() {
    for (int f = 0; f < kAudioFrames; ++f) {
        for (int channel = 0; channel < 2; ++channel) {
            unsigned char* row = g_Frames[f].waveformData[channel];
            const int kind = static_cast<int>(NextRandom() % 8);
            const int amplitude = static_cast<int>(NextRandom() % 128);
            const double step = 0.01 + (NextRandom() % 100) / 500.0;
            for (int i = 0; i < kWaveformSamples; ++i) {
                int sample;
                switch (kind) {
                    case 0: sample = 0; break;
                    case 1: sample = (i % 7 < 3) ? 127 : -128; break;
                    case 2: sample = -1 - static_cast<int>(NextRandom() % 100); break;
                    default: {
                        const double wave = amplitude * std::sin(step * i);
                        sample = static_cast<int>(wave) + static_cast<int>(NextRandom() % 9) - 4;
                    }
                }
                sample = std::max(-128, std::min(127, sample));
                row[i] = static_cast<unsigned char>(static_cast<signed char>(sample));
            }
        }
    }
}

double Ticks() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart);
}

struct Figures {
    double medianNs, lowestNs, meanNs;
    long frames;
    double allocationsPerFrame;
};

Figures Measure(long frames, int batch) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double nsPerTick = 1e9 / static_cast<double>(frequency.QuadPart);
    for (int f = 0; f < 10000; ++f) Render(&g_Frames[f % kAudioFrames]);  // warm up

    std::vector<double> perFrame;
    perFrame.reserve(static_cast<size_t>(frames / batch));
    const long allocationsBefore = bench::AllocationCount();
    double total = 0;
    int next = 0;
    for (long done = 0; done < frames; done += batch) {
        const double start = Ticks();
        for (int f = 0; f < batch; ++f) {
            Render(&g_Frames[next]);
            next = (next + 1) % kAudioFrames;
        }
        const double ns = (Ticks() - start) * nsPerTick;
        total += ns;
        perFrame.push_back(ns / batch);
    }
    const long allocations = bench::AllocationCount() - allocationsBefore;
    std::vector<double> sorted = perFrame;
    std::sort(sorted.begin(), sorted.end());
    const long measured = static_cast<long>(perFrame.size()) * batch;
    return {sorted[sorted.size() / 2], sorted.front(), total / measured, measured,
            static_cast<double>(allocations) / measured};
}

void Print(const char* title, const Figures& f) {
    std::printf("%-58s median %9.1f ns  lowest %9.1f ns  mean %9.1f ns  frames %ld  allocations/frame %.4f\n",
                title, f.medianNs, f.lowestNs, f.meanNs, f.frames, f.allocationsPerFrame);
}

// The run's settings as the settings file would hold them, beside this program (where Init
// looks for them), removed again at the end.
std::string SettingsPath() {
    char path[MAX_PATH] = "";
    PathBesideModule(nullptr, "vis_glowmeter.ini", path, sizeof path);
    return path;
}

void WriteSettings(const std::string& path, bool slotsOn, bool playerOn, const char* attribute) {
    const char* channels[8] = {"1", "2", "3", "1", "2", "3", "1", "3"};
    WritePrivateProfileStringA("GLOBAL", "Debug", "0", path.c_str());
    WritePrivateProfileStringA("GLOBAL", "Decay", "4", path.c_str());
    WritePrivateProfileStringA("HALOSEQ", "Enable", playerOn ? "1" : "0", path.c_str());
    for (int i = 0; i < 8; ++i) {
        char section[16], gpu[8];
        std::snprintf(section, sizeof(section), "DEVICE%d", i);
        std::snprintf(gpu, sizeof(gpu), "%d", i);
        WritePrivateProfileStringA(section, "Enable", slotsOn ? "1" : "0", path.c_str());
        WritePrivateProfileStringA(section, "Display", "0", path.c_str());
        WritePrivateProfileStringA(section, "GPU", gpu, path.c_str());
        WritePrivateProfileStringA(section, "Attribute", attribute, path.c_str());
        WritePrivateProfileStringA(section, "Channel", channels[i], path.c_str());
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

Figures Run(const std::string& settings, bool slotsOn, bool playerOn, long frames, int batch,
            const char* attribute = "0") {
    WriteSettings(settings, slotsOn, playerOn, attribute);
    Init(&g_Frames[0]);
    const Figures figures = Measure(frames, batch);
    Quit(&g_Frames[0]);
    return figures;
}

// Eight GPUs, each with both lights and four illumination zones of the common kinds.
void EightGpuMachine() {
    NvSim_Reset();
    int ids[8];
    const uint8_t rgb[] = {255, 64, 0, 100};
    const uint8_t rgbw[] = {0, 64, 255, 32, 100};
    const uint8_t single[] = {100};
    for (int i = 0; i < 8; ++i) {
        ids[i] = NvSim_AddGpu("Bench GPU", "Bench GPU", 920, 1, 1);
        NvSim_AddZone(ids[i], NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, rgb, 4);
        NvSim_AddZone(ids[i], NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB, NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR, rgb, 4);
        NvSim_AddZone(ids[i], NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGBW, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, rgbw, 5);
        NvSim_AddZone(ids[i], NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, single, 1);
    }
    NvSim_AddDisplay(ids, 8);
    NvSim_SetRecording(0);
}

}  // namespace

int main() {
    const int redirected = bench::CountAllocationsOf(GetModuleHandleA(nullptr)) +
                           bench::CountAllocationsOf(GetModuleHandleA("nvapi64.dll")) +
                           bench::CountAllocationsOf(GetModuleHandleA("nvapi.dll"));
    // Proof that the counter sees what it should: one malloc and one operator new.
    const long before = bench::AllocationCount();
    void* volatile block = std::malloc(16);
    std::free(block);
    int* volatile object = new int(1);
    delete object;
    std::printf("allocation counter: %d import entries redirected; check counted %ld of 2 known allocations\n",
                redirected, bench::AllocationCount() - before);

    FillAudio();
    EightGpuMachine();
    const std::string settings = SettingsPath();
    Print("(a)  all slots disabled, player off (peak scan alone)", Run(settings, false, false, 1000000, 1000));
    Print("(a') all slots disabled, player on (scan + stamp)", Run(settings, false, true, 1000000, 1000));
    Print("(b)  eight slots on the simulated driver, recording off", Run(settings, true, true, 200000, 100));
    Print("(c)  eight zone slots (four zones each), recording off", Run(settings, true, true, 200000, 100, "2"));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settings.c_str());
    DeleteFileA(settings.c_str());
    return 0;
}
