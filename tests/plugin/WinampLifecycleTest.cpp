// The plug-in as Winamp really drives it: the visualization on a thread of its own that loads
// the DLL, runs the module and frees the DLL again, and the Preferences page opening the
// settings from the UI thread (this one) with a load and free of its own. A vectored handler
// counts every access violation, also the ones a timer dispatch would swallow, while this
// thread keeps dispatching its messages after the DLL is gone.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/client/UdpService.h"
#include "tools/common/PlayerWindow.h"
#include "tests/common/DriverLog.h"
#include "tests/common/SettingsFile.h"
#include "tests/plugin/PluginRun.h"
#include "tests/plugin/SimMachine.h"
#include "dialog/Resource.h"
#include "tests/dialog/SettingsDialogDriver.h"
#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"
#include "tools/common/ProcessFigures.h"
#include "tools/host/PreferencesPage.h"
#include "tools/host/VisPlugin.h"
#include "tools/host/VisThread.h"

namespace {

constexpr UINT kPause = 32772;
constexpr UINT kResume = 32771;
constexpr DWORD kAfterUnloadMs = 2500;  // long enough for two ticks of a timer left behind

volatile LONG g_AccessViolations = 0;

LONG CALLBACK CountAccessViolations(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        InterlockedIncrement(&g_AccessViolations);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Steady music: left peak 90 (level 70), right peak 25. After each frame it notes the level
// that slot 0's light (GPU 0's logo, fed by the left channel) settled on.
class SteadyMusic : public FrameSource {
public:
    void Starting(winampVisModule& module) override {
        module.sRate = 44100;
        module.nCh = 2;
    }
    bool Paused() override {
        if (paused == 0) return false;
        InterlockedIncrement(&pausedPolls);
        return true;
    }
    bool NextFrame(winampVisModule& module) override {
        testrun::SetWaveform(module, 90, 25);
        return true;
    }
    void Rendered() override {
        settled.push_back(NvSim_Brightness(0, kAttributeLogo));
        InterlockedIncrement(&frames);
    }
    bool WaitForFrames(LONG count) {
        return haloseq::PlayerWindow::WaitUntil([&] { return frames >= count; }, 10000);
    }
    // Pauses the music and waits until the run has seen it: from then on no frame starts.
    bool Pause() {
        InterlockedExchange(&pausedPolls, 0);
        InterlockedExchange(&paused, 1);
        return haloseq::PlayerWindow::WaitUntil([&] { return pausedPolls > 0; }, 10000);
    }

    std::vector<int> settled;  // read once the run has ended
    volatile LONG frames = 0;
    volatile LONG paused = 0;
    volatile LONG pausedPolls = 0;  // looks at Paused() that found the music paused
};

class WinampLifecycle : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        AddVectoredExceptionHandler(1, CountAccessViolations);
    }

    void SetUp() override {
        ASSERT_TRUE(folder.Ok());
        dllPath = folder.File("vis_glowmeter.dll");
        settingsPath = folder.File("vis_glowmeter.ini");
        ASSERT_TRUE(CopyFileA(PluginPath().c_str(), dllPath.c_str(), FALSE));
        mainWindow = CreateWindowExA(0, "STATIC", "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                     nullptr, nullptr);
        ASSERT_NE(mainWindow, nullptr);
        testrun::EightGpuMachine();
        PLUGINCFG cfg = testrun::DefaultSettings();
        cfg.PlayerWait = 5;
        cfg.Devices[0] = {1, 0, 0, kAttributeLogo, kChannelLeft, ""};
        WriteSettingsFile(cfg, settingsPath);
        player = std::make_unique<haloseq::PlayerWindow>();
        ASSERT_TRUE(player->IsUp());
        violationsBefore = g_AccessViolations;
    }

    void TearDown() override {
        player.reset();
        if (mainWindow) DestroyWindow(mainWindow);
        NvSim_Reset();
    }

    VisRunOptions Run(bool fullSpeed) const {
        VisRunOptions options;
        options.plugin = dllPath;
        options.module = 1;  // "High response": a frame every 25 ms
        options.mainWindow = mainWindow;
        options.fullSpeed = fullSpeed;
        return options;
    }

    // Configure on the Preferences page: this thread loads the DLL, runs Config while `script`
    // drives the dialog, and frees the DLL when Config returns.
    void Configure(dialogtest::ConfigSession::Script script) {
        dialogtest::ConfigSession session;
        session.RunWith(
            [&] {
                std::string error;
                EXPECT_TRUE(OpenPluginSettings(dllPath, 1, mainWindow, error)) << error;
            },
            std::move(script));
    }

    static void SetDecayAndApply(HWND dialog, unsigned decay) {
        SetDlgItemInt(dialog, IDC_DECAY, decay, FALSE);
        dialogtest::PostClick(dialog, IDOK);
        EXPECT_TRUE(dialogtest::WaitUntilGone(dialog));
    }

    std::vector<UINT> PlayerMessages() {
        EXPECT_TRUE(player->Sync());
        std::vector<UINT> codes;
        for (const auto& m : player->Messages()) codes.push_back(m.message);
        return codes;
    }

    // Once every thread has let the DLL go: it is unloaded, and this thread (the UI thread,
    // whose messages Winamp keeps dispatching) calls into it no more.
    void ExpectUnloadedAndQuiet() {
        ExpectUnloaded();
        haloseq::PumpFor(kAfterUnloadMs);
        ExpectNoFault();
    }
    void ExpectUnloaded() const {
        EXPECT_EQ(GetModuleHandleA(dllPath.c_str()), nullptr) << "the DLL is still loaded";
    }
    void ExpectNoFault() const {
        EXPECT_EQ(g_AccessViolations - violationsBefore, 0) << "code of the unloaded DLL was called";
    }

    TempFolder folder;
    std::string dllPath, settingsPath;
    HWND mainWindow = nullptr;
    std::unique_ptr<haloseq::PlayerWindow> player;
    LONG violationsBefore = 0;
};

// Apply with no visualization running starts nothing: Winamp frees the DLL right after.
TEST_F(WinampLifecycle, ApplyWithoutARunLeavesNothingBehind) {
    Configure([](HWND dialog) { SetDecayAndApply(dialog, 2); });

    ExpectUnloadedAndQuiet();
    const std::vector<UINT> messages = PlayerMessages();
    EXPECT_TRUE(messages.empty() || messages.back() == kResume) << "HALOSEQ was left paused";
    EXPECT_EQ(GetPrivateProfileIntA("GLOBAL", "Decay", 0, settingsPath.c_str()), 2u);
}

// Apply while a run renders at full speed: the run restarts on its own thread before its next
// frame, and from that frame on the lights follow the new Decay.
TEST_F(WinampLifecycle, ApplyDuringARunRestartsItOnItsOwnThread) {
    SteadyMusic music;
    {
        VisThread vis(Run(true), music);
        ASSERT_TRUE(vis.Start());
        ASSERT_TRUE(music.WaitForFrames(20));
        LONG framesAtReturn = 0;
        Configure([](HWND dialog) { SetDecayAndApply(dialog, 1); });
        framesAtReturn = music.frames;
        ASSERT_TRUE(music.WaitForFrames(framesAtReturn + 20));
        vis.RequestStop();
        ASSERT_TRUE(vis.Wait(10000));
        EXPECT_EQ(vis.Result().initResult, 0);

        // 70 then 70 / 4 before, 70 then 70 / 1 after: one switch, at the latest on the first
        // frame that began after Config returned.
        const std::vector<int>& settled = music.settled;
        size_t firstNew = 0;
        while (firstNew < settled.size() && settled[firstNew] == 17) ++firstNew;
        EXPECT_GE(firstNew, 20u);
        EXPECT_LE(firstNew, static_cast<size_t>(framesAtReturn) + 1);
        for (size_t i = firstNew; i < settled.size(); ++i) ASSERT_EQ(settled[i], 70) << "frame " << i;
    }
    EXPECT_EQ(PlayerMessages(), std::vector<UINT>({kPause, kResume, kPause, kResume}));
    ExpectUnloadedAndQuiet();
}

// Apply while a run drives the lights through the diagnostic path: the restart on the run's
// own thread closes and opens the client between two frames, so the path stays on, with the
// new settings, and the driver is never touched.
TEST_F(WinampLifecycle, ApplyDuringADiagnosticRunKeepsTheDiagnosticPath) {
    UdpService service;
    ASSERT_TRUE(service.Start()) << "port 30000 stayed busy";
    WritePrivateProfileStringA("GLOBAL", "Debug", "1", settingsPath.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settingsPath.c_str());
    SteadyMusic music;
    {
        VisThread vis(Run(false), music);
        ASSERT_TRUE(vis.Start());
        ASSERT_TRUE(music.WaitForFrames(5));
        Configure([](HWND dialog) { SetDecayAndApply(dialog, 1); });
        const LONG framesAtReturn = music.frames;
        ASSERT_TRUE(music.WaitForFrames(framesAtReturn + 5));
        vis.RequestStop();
        ASSERT_TRUE(vis.Wait(10000));
    }
    // Each frame: the level, then the level / Decay; 70 / 4 before, 70 / 1 after.
    std::vector<int32_t> second;
    const std::vector<ReceivedDatagram> got = service.Received();
    for (size_t i = 1; i < got.size(); i += 2) {
        int32_t level = 0;
        std::memcpy(&level, got[i].bytes.data() + 20, sizeof level);
        second.push_back(level);
    }
    ASSERT_GE(second.size(), 10u);
    EXPECT_EQ(second.front(), 17);
    EXPECT_EQ(second.back(), 70) << "the diagnostic path was left at the restart";
    EXPECT_EQ(NvSim_Brightness(0, kAttributeLogo), -1) << "the driver was set";
}

// Cancel while a run renders: no restart, no lights opened again; the file's settings as
// reloaded by the dialog drive the lights from then on.
TEST_F(WinampLifecycle, CancelDuringARunRestartsNothing) {
    SteadyMusic music;
    VisThread vis(Run(false), music);
    ASSERT_TRUE(vis.Start());
    ASSERT_TRUE(music.WaitForFrames(3));
    const int opened = CountDriverCalls(kNvId_Initialize);
    EXPECT_EQ(opened, 8);
    WritePrivateProfileStringA("GLOBAL", "Decay", "2", settingsPath.c_str());  // edited by hand meanwhile
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settingsPath.c_str());

    Configure([](HWND dialog) {
        dialogtest::PostClick(dialog, IDCANCEL);
        EXPECT_TRUE(dialogtest::WaitUntilGone(dialog));
    });
    const LONG framesAtReturn = music.frames;
    ASSERT_TRUE(music.WaitForFrames(framesAtReturn + 3));
    EXPECT_EQ(CountDriverCalls(kNvId_Initialize), opened) << "the lights were opened again";
    EXPECT_EQ(NvSim_Brightness(0, kAttributeLogo), 35);
    EXPECT_EQ(PlayerMessages(), std::vector<UINT>({kPause}));
    vis.RequestStop();
    ASSERT_TRUE(vis.Wait(10000));
    EXPECT_EQ(PlayerMessages(), std::vector<UINT>({kPause, kResume}));
}

// Apply while playback is paused: no frame, so no restart yet; the run's end drops it, and
// its settings stay live, the Auto Detect choice among them, which lives only in memory (so
// only while the DLL stays loaded: here the test holds it between the runs).
TEST_F(WinampLifecycle, ApplyWhilePausedRestartsWithTheMusicOrNotAtAll) {
    struct Row {
        const char* name;
        bool musicReturns;
        std::vector<UINT> messages;
    };
    const Row rows[] = {
        {"the music comes back", true, {kPause, kResume, kPause, kResume}},
        {"the visualization stops", false, {kPause, kResume}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        player->Clear();
        HMODULE held = LoadLibraryA(dllPath.c_str());
        SteadyMusic music;
        {
            VisThread vis(Run(false), music);
            ASSERT_TRUE(vis.Start());
            ASSERT_TRUE(music.WaitForFrames(2));
            ASSERT_TRUE(music.Pause());
            const LONG framesBefore = music.frames;
            Configure([](HWND dialog) {
                dialogtest::Click(dialog, IDC_AUTO_DETECT);
                SetDecayAndApply(dialog, 1);
            });
            haloseq::PumpFor(300);
            EXPECT_EQ(music.frames, framesBefore);
            EXPECT_EQ(PlayerMessages(), std::vector<UINT>({kPause})) << "restarted without a frame";
            if (row.musicReturns) {
                InterlockedExchange(&music.paused, 0);
                ASSERT_TRUE(music.WaitForFrames(framesBefore + 3));
                EXPECT_EQ(NvSim_Brightness(0, kAttributeLogo), 70);
            }
            vis.RequestStop();
            ASSERT_TRUE(vis.Wait(10000));
        }
        EXPECT_EQ(PlayerMessages(), row.messages);
        // With no run any more, the dialog opens on the applied settings: it scans at once.
        Configure([](HWND dialog) {
            EXPECT_EQ(dialogtest::Text(dialog, IDC_DETECT_STATUS), "8 device detected.");
            EXPECT_EQ(dialogtest::Number(dialog, IDC_DECAY), 1u);
            dialogtest::Click(dialog, IDC_AUTO_DETECT);  // off again for the next row
            SetDecayAndApply(dialog, 4);
        });
        FreeLibrary(held);
    }
    ExpectUnloadedAndQuiet();
}

// A host that frees the DLL without Quit while the player timer runs, and whose thread goes
// on dispatching: from the run's own thread, and from another thread while the run's thread
// still holds the timer's window.
TEST_F(WinampLifecycle, UnloadWithoutQuitEndsTheRun) {
    struct Row {
        const char* name;
        bool fromOtherThread;
    };
    for (const Row& row : {Row{"the run's thread", false}, Row{"another thread", true}}) {
        SCOPED_TRACE(row.name);
        player->Clear();
        struct Run {
            std::string dll;
            bool fromOtherThread;
            HMODULE module = nullptr;
            HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
            HANDLE freed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
            LONG timerMessages = 0;
        } run{dllPath, row.fromOtherThread};

        HANDLE thread = CreateThread(
            nullptr, 0,
            [](void* param) -> DWORD {
                Run& run = *static_cast<Run*>(param);
                run.module = LoadLibraryA(run.dll.c_str());
                auto get = reinterpret_cast<winampVisGetHeaderType>(
                    reinterpret_cast<void*>(GetProcAddress(run.module, "winampVisGetHeader")));
                winampVisModule* module = get ? get()->getModule(0) : nullptr;
                if (!module) return 1;
                module->hDllInstance = run.module;
                module->Init(module);
                testrun::SetWaveform(*module, 60, 60);
                module->Render(module);
                if (!run.fromOtherThread) {
                    FreeLibrary(run.module);
                    SetEvent(run.freed);
                }
                SetEvent(run.started);
                WaitForSingleObject(run.freed, 10000);
                run.timerMessages = haloseq::PumpFor(kAfterUnloadMs);
                return 0;
            },
            &run, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        ASSERT_EQ(WaitForSingleObject(run.started, 10000), WAIT_OBJECT_0);
        if (row.fromOtherThread) {
            FreeLibrary(run.module);
            SetEvent(run.freed);
        }
        EXPECT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
        CloseHandle(thread);
        CloseHandle(run.started);
        CloseHandle(run.freed);

        EXPECT_EQ(run.timerMessages, 0) << "the player timer still ticks";
        EXPECT_EQ(PlayerMessages(), std::vector<UINT>({kPause, kResume}));
        ExpectUnloaded();
        ExpectNoFault();
    }
}

// Winamp loads and frees the plug-in for every start and stop and every Configure: each cycle
// gives back every handle and (but for the heap's own noise) its memory.
TEST_F(WinampLifecycle, LoadAndFreeGiveBackWhatTheyTake) {
    constexpr int kCycles = 40;
    auto cycle = [&] {
        VisPlugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.Load(dllPath, nullptr, error)) << error;
        winampVisModule* module = plugin.Prepare(0, nullptr, error);
        ASSERT_NE(nullptr, module) << error;
        module->Init(module);
        testrun::SetWaveform(*module, 60, 60);
        for (int i = 0; i < 10; ++i) module->Render(module);
        module->Quit(module);
    };
    cycle();  // the first load may set up what every later one reuses
    const bench::ProcessFigures before = bench::ReadProcessFigures();
    for (int i = 0; i < kCycles; ++i) cycle();
    const bench::ProcessFigures after = bench::ReadProcessFigures();
    ASSERT_GE(before.handles, 0) << "the system does not list the process's handles";
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_LT((after.heapBytes - before.heapBytes) / kCycles, 1024) << "bytes kept per cycle";
    haloseq::PumpFor(0);
    player->Clear();
}

}  // namespace
