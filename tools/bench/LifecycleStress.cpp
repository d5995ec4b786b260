// The plug-in's life cycle under load, as Winamp drives it: a visualization thread renders
// eight lights at full speed while the UI thread opens the settings and applies them 300
// times (each Apply restarts the run on its own thread); then 2,000 Init/Quit cycles within
// one load, and 100 load/unload cycles. Prints the crashes (the program ends early), hangs,
// access violations, the longest single Render and what the process holds before and after.
//
//   bench_lifecycle [apply cycles] [init/quit cycles] [load cycles]
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dialog/Resource.h"
#include "sdk/WinampVis.h"
#include "support/ModulePath.h"
#include "tools/common/PlayerWindow.h"
#include "tools/common/ProcessFigures.h"
#include "tools/host/PreferencesPage.h"
#include "tools/host/VisPlugin.h"
#include "tools/host/VisThread.h"
#include "tools/nvapi_sim/NvapiSim.h"

namespace {

constexpr DWORD kDialogWaitMs = 10000;

volatile LONG g_AccessViolations = 0;

LONG CALLBACK CountAccessViolations(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        InterlockedIncrement(&g_AccessViolations);
    return EXCEPTION_CONTINUE_SEARCH;
}

int Number(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
}

// A folder of its own with a copy of the plug-in and settings that drive all eight lights.
std::string StageFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "glowmeter_stress_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    char dll[MAX_PATH] = "";
    PathBesideModule(nullptr, "vis_glowmeter.dll", dll, sizeof dll);
    CopyFileA(dll, (folder + "\\vis_glowmeter.dll").c_str(), FALSE);
    const std::string ini = folder + "\\vis_glowmeter.ini";
    WritePrivateProfileStringA("GLOBAL", "Decay", "4", ini.c_str());
    WritePrivateProfileStringA("HALOSEQ", "Enable", "1", ini.c_str());
    for (int i = 0; i < 8; ++i) {
        const std::string section = "DEVICE" + std::to_string(i);
        WritePrivateProfileStringA(section.c_str(), "Enable", "1", ini.c_str());
        WritePrivateProfileStringA(section.c_str(), "GPU", std::to_string(i).c_str(), ini.c_str());
        WritePrivateProfileStringA(section.c_str(), "Channel", std::to_string(1 + i % 3).c_str(), ini.c_str());
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    return folder;
}

void RemoveStage(const std::string& folder) {
    DeleteFileA((folder + "\\vis_glowmeter.dll").c_str());
    DeleteFileA((folder + "\\vis_glowmeter.ini").c_str());
    RemoveDirectoryA(folder.c_str());
}

// One display reaching eight GPUs with both lights; no call recording, so the log never fills.
void EightGpus() {
    NvSim_Reset();
    int ids[8];
    for (int i = 0; i < 8; ++i) ids[i] = NvSim_AddGpu("Stress GPU", "Stress GPU", 920, 1, 1);
    NvSim_AddDisplay(ids, 8);
    NvSim_SetRecording(0);
}

// Music that keeps changing: a sine of varying loudness on each channel.
class Music : public FrameSource {
public:
    void Starting(winampVisModule& module) override {
        module.sRate = 44100;
        module.nCh = 2;
    }
    bool NextFrame(winampVisModule& module) override {
        ++frame_;
        for (int channel = 0; channel < 2; ++channel) {
            const double loudness = 127.0 * (0.5 + 0.5 * std::sin(frame_ * (0.01 + 0.02 * channel)));
            for (int i = 0; i < kWaveformSamples; ++i) {
                const int sample = static_cast<int>(loudness * std::sin(i * 0.05));
                module.waveformData[channel][i] = static_cast<unsigned char>(static_cast<signed char>(sample));
            }
        }
        return true;
    }

private:
    long long frame_ = 0;
};

BOOL CALLBACK IsSettingsDialog(HWND window, LPARAM found) {
    char cls[16] = {}, text[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, text, sizeof text);
    if (std::string(cls) != "#32770" || std::string(text) != "Glowmeter" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND FindSettingsDialog(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, IsSettingsDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Presses Apply with a new Decay once the dialog of `thread` is up; a dialog that never
// comes, or never goes, is a hang (and is ended, so the program goes on).
struct Clicker {
    DWORD thread;
    unsigned decay;
    volatile LONG done = 0;
    bool hung = false;

    static DWORD WINAPI Main(void* param) {
        auto* self = static_cast<Clicker*>(param);
        const DWORD start = GetTickCount();
        HWND dialog = nullptr;
        while (!dialog && GetTickCount() - start < kDialogWaitMs) {
            dialog = FindSettingsDialog(self->thread);
            if (!dialog) Sleep(1);
        }
        if (!dialog) {
            self->hung = !self->done;
            return 0;
        }
        SetDlgItemInt(dialog, IDC_DECAY, self->decay, FALSE);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        const DWORD clicked = GetTickCount();
        while (!self->done && GetTickCount() - clicked < kDialogWaitMs) Sleep(1);
        if (!self->done) {
            self->hung = true;
            EndDialog(dialog, 0);
        }
        return 0;
    }
};

void PrintFigures(const char* when, const bench::ProcessFigures& f) {
    std::printf("  %-28s handles %5ld  threads %3ld  private bytes %10lld  heap in use %10lld\n", when, f.handles,
                f.threads, static_cast<long long>(f.privateBytes), static_cast<long long>(f.heapBytes));
}

// The plug-in's first module, ready to be driven as Winamp drives it; null when it can't be
// loaded.
winampVisModule* FirstModule(VisPlugin& plugin, const std::string& dll) {
    std::string error;
    winampVisModule* vis = plugin.Load(dll, nullptr, error) ? plugin.Prepare(0, nullptr, error) : nullptr;
    if (!vis) std::printf("%s\n", error.c_str());
    return vis;
}

// Init and Quit within one load of the DLL, on a thread of their own.
struct InitQuitCycles {
    std::string dll;
    int cycles;
    static DWORD WINAPI Main(void* param) {
        auto* self = static_cast<InitQuitCycles*>(param);
        VisPlugin plugin;
        winampVisModule* vis = FirstModule(plugin, self->dll);
        for (int i = 0; vis && i < self->cycles; ++i) {
            vis->Init(vis);
            vis->Render(vis);
            vis->Quit(vis);
        }
        return 0;
    }
};

// Loads the DLL, renders ten frames and frees it again, as each start and stop in Winamp.
void LoadCycle(const std::string& dll) {
    VisPlugin plugin;
    winampVisModule* vis = FirstModule(plugin, dll);
    if (!vis) return;
    vis->Init(vis);
    for (int i = 0; i < 10; ++i) vis->Render(vis);
    vis->Quit(vis);
}

}  // namespace

int main(int argc, char** argv) {
    const int applyCycles = Number(argc, argv, 1, 300);
    const int initQuitCycles = Number(argc, argv, 2, 2000);
    const int loadCycles = Number(argc, argv, 3, 100);

    AddVectoredExceptionHandler(1, CountAccessViolations);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    const std::string folder = StageFolder();
    const std::string dll = folder + "\\vis_glowmeter.dll";
    EightGpus();
    haloseq::PlayerWindow player;
    // A pause and a resume for every run, restart and cycle below, with room to spare.
    player.Reserve(4 * static_cast<size_t>(applyCycles + initQuitCycles + loadCycles) + 64);
    HWND mainWindow = CreateWindowExA(0, "STATIC", "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                      nullptr, nullptr);

    const bench::ProcessFigures start = bench::ReadProcessFigures();

    // Configure + Apply while the visualization renders at full speed.
    int hangs = 0;
    Music music;
    VisRunOptions run;
    run.plugin = dll;
    run.mainWindow = mainWindow;
    run.fullSpeed = true;
    VisThread vis(run, music);
    vis.Start();
    const DWORD applyStart = GetTickCount();
    for (int i = 0; i < applyCycles; ++i) {
        Clicker clicker{GetCurrentThreadId(), i % 2 ? 4u : 1u};
        HANDLE thread = CreateThread(nullptr, 0, &Clicker::Main, &clicker, 0, nullptr);
        std::string error;
        if (!OpenPluginSettings(dll, 0, mainWindow, error)) std::printf("settings: %s\n", error.c_str());
        InterlockedExchange(&clicker.done, 1);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        hangs += clicker.hung;
    }
    const DWORD applyMs = GetTickCount() - applyStart;
    vis.RequestStop();
    if (!vis.Wait(30000)) ++hangs;
    const VisRunResult& rendered = vis.Result();
    const bench::ProcessFigures afterApply = bench::ReadProcessFigures();

    // Init/Quit within one load.
    InitQuitCycles cycles{dll, initQuitCycles};
    HANDLE cycler = CreateThread(nullptr, 0, &InitQuitCycles::Main, &cycles, 0, nullptr);
    const DWORD cyclesStart = GetTickCount();
    if (WaitForSingleObject(cycler, 300000) != WAIT_OBJECT_0) ++hangs;
    CloseHandle(cycler);
    const DWORD cyclesMs = GetTickCount() - cyclesStart;
    const bench::ProcessFigures afterInitQuit = bench::ReadProcessFigures();

    // Load and unload.
    LoadCycle(dll);  // the first load may set up what every later one reuses
    const bench::ProcessFigures beforeLoads = bench::ReadProcessFigures();
    for (int i = 0; i < loadCycles; ++i) LoadCycle(dll);
    const bench::ProcessFigures end = bench::ReadProcessFigures();

    std::printf("Glowmeter life cycle under load (eight lights, HALOSEQ window present)\n");
    std::printf("  %d Configure + Apply cycles while rendering: %.1f s, %lld frames, longest Render %.2f ms\n",
                applyCycles, applyMs / 1000.0, rendered.frames, rendered.longestRenderMs);
    std::printf("  %d Init/Quit cycles: %.1f s\n", initQuitCycles, cyclesMs / 1000.0);
    std::printf("  %d load/unload cycles\n", loadCycles);
    std::printf("  crashes 0, hangs %d, access violations %ld, HALOSEQ messages %ld\n", hangs,
                static_cast<long>(g_AccessViolations), static_cast<long>(player.Count()));
    PrintFigures("at the start", start);
    PrintFigures("after the Apply cycles", afterApply);
    PrintFigures("after the Init/Quit cycles", afterInitQuit);
    PrintFigures("before the load cycles", beforeLoads);
    PrintFigures("at the end", end);
    if (initQuitCycles > 0) {
        // The cycles ran on a thread of their own, which loaded the DLL once and freed it again.
        std::printf("  per Init/Quit cycle: %+.2f handles, %+.0f private bytes, %+.0f heap bytes\n",
                    static_cast<double>(afterInitQuit.handles - afterApply.handles) / initQuitCycles,
                    static_cast<double>(afterInitQuit.privateBytes - afterApply.privateBytes) / initQuitCycles,
                    static_cast<double>(afterInitQuit.heapBytes - afterApply.heapBytes) / initQuitCycles);
    }
    if (loadCycles > 0) {
        std::printf("  per load/unload cycle: %+.2f handles, %+.0f private bytes, %+.0f heap bytes\n",
                    static_cast<double>(end.handles - beforeLoads.handles) / loadCycles,
                    static_cast<double>(end.privateBytes - beforeLoads.privateBytes) / loadCycles,
                    static_cast<double>(end.heapBytes - beforeLoads.heapBytes) / loadCycles);
    }

    DestroyWindow(mainWindow);
    RemoveStage(folder);
    return hangs || g_AccessViolations ? 1 : 0;
}
