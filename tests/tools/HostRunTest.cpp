// glowmeter-host as a user runs it: a child process in a folder of its own holding the host,
// the plug-in and its settings file, with the simulated driver in the system folder, whose
// light changes come back through the CSV file of the light view.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/Resource.h"
#include "tests/client/UdpService.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UnicodeFolder.h"
#include "tests/tools/WavBytes.h"
#include "tools/common/Utf8Text.h"

using namespace wavbytes;

namespace {

const char* const kDriverName = sizeof(void*) == 8 ? "nvapi64.dll" : "nvapi.dll";
const char kHostName[] = "glowmeter-host.exe";
// A library that only records that it was loaded (tests/common/PlantedLibrary.cpp).
const char kPlantedName[] = "planted_library.dll";

// Slot 0: Left on the logo light, slot 1: Right on the SLI light, of the simulated driver's
// one GPU. No player coordination, decay 4.
const char kTwoLights[] =
    "[GLOBAL]\r\nDecay=4\r\n[HALOSEQ]\r\nEnable=0\r\n"
    "[DEVICE0]\r\nEnable=1\r\nDisplay=0\r\nGPU=0\r\nAttribute=0\r\nChannel=1\r\n"
    "[DEVICE1]\r\nEnable=1\r\nDisplay=0\r\nGPU=0\r\nAttribute=1\r\nChannel=2\r\n";

// A square wave: `high` for the first half of every 40 frames, -high for the other half.
std::function<int(size_t, unsigned)> Square(int leftHigh, int rightHigh) {
    return [=](size_t frame, unsigned channel) {
        const int high = channel == 0 ? leftHigh : rightHigh;
        return frame % 40 < 20 ? high : -high;
    };
}

// One row of the light view's CSV file: a level that reached a light.
struct LightRow {
    unsigned display, gpu;
    int attribute;
    unsigned level;
};

// The CSV file as read: its rows in order, whether its header was there, and how many lines
// were neither.
struct LightRows {
    std::vector<LightRow> rows;
    bool header = false;
    int otherLines = 0;
};

// The levels that reached each light, in order.
struct Lights {
    std::vector<unsigned> logo;  // display 0, GPU 0, attribute 0
    std::vector<unsigned> sli;   // display 0, GPU 0, attribute 1
    int otherRows = 0;
    bool header = false;
};

std::vector<unsigned> Repeat(std::vector<unsigned> pattern, int times) {
    std::vector<unsigned> all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), pattern.begin(), pattern.end());
    return all;
}

class HostRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Ok());
        const std::string build = ProgramFolder();
        for (const char* name : {kHostName, "vis_glowmeter.dll", kPlantedName}) {
            ASSERT_TRUE(CopyFileA((build + name).c_str(), File(name).c_str(), FALSE)) << name;
        }
        // Each run starts from the simulated driver's default machine and a fresh CSV file.
        SetEnvironmentVariableA("GLOWMETER_NVSIM", nullptr);
        SetEnvironmentVariableA("GLOWMETER_VIEW", nullptr);
        SetEnvironmentVariableA("GLOWMETER_CSV", File("lights.csv").c_str());
        ASSERT_TRUE(Write("vis_glowmeter.ini", kTwoLights));
    }
    void TearDown() override {
        SetEnvironmentVariableA("GLOWMETER_CSV", nullptr);
        SetEnvironmentVariableA("GLOWMETER_VIEW", nullptr);
    }

    std::string File(const std::string& name) const { return folder_.File(name); }
    bool Write(const std::string& name, const std::string& text) const {
        return TempFolder::WriteBytes(File(name), text);
    }
    std::string Track(const std::string& name, const Bytes& bytes) const {
        EXPECT_TRUE(TempFolder::WriteBytes(File(name), std::string(bytes.begin(), bytes.end())));
        return name;
    }

    ChildResult Host(const std::string& args, unsigned long timeoutMs = 60000,
                     const std::function<void(unsigned long)>& whileRunning = nullptr) const {
        return RunChild("\"" + File(kHostName) + "\" " + args, folder_.Path(), timeoutMs, whileRunning);
    }

    LightRows ReadRows() const {
        LightRows csv;
        std::istringstream text(TempFolder::ReadBytes(File("lights.csv")));
        std::string line;
        while (std::getline(text, line)) {
            if (line == "time_ms,display,gpu,attribute,level") {
                csv.header = true;
                continue;
            }
            long long time;
            LightRow row;
            if (std::sscanf(line.c_str(), "%lld,%u,%u,%d,%u", &time, &row.display, &row.gpu, &row.attribute,
                            &row.level) == 5)
                csv.rows.push_back(row);
            else
                ++csv.otherLines;
        }
        return csv;
    }

    // The two lights of display 0, GPU 0; every other row counts as other.
    Lights ReadLights() const {
        const LightRows csv = ReadRows();
        Lights lights;
        lights.header = csv.header;
        lights.otherRows = csv.otherLines;
        for (const LightRow& row : csv.rows) {
            if (row.display != 0 || row.gpu != 0 || row.attribute < 0 || row.attribute > 1)
                ++lights.otherRows;
            else
                (row.attribute == 0 ? lights.logo : lights.sli).push_back(row.level);
        }
        return lights;
    }

    TempFolder folder_;
};

TEST_F(HostRun, EveryFormatDrivesTheExpectedLevels) {
    // Left peak 99 (plus bits below the top byte, which must not round it up to 100), right
    // peak 25: Left gives 70 then 70/4 = 17, Right 25 then 6. Half a second is 10 frames.
    struct Row { unsigned channels, rate, bits; };
    const Row rows[] = {{1, 8000, 8}, {2, 11025, 8}, {1, 44100, 16}, {2, 22050, 16}, {1, 48000, 24}, {2, 7350, 24}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.channels << " ch, " << r.rate << " Hz, " << r.bits << " bit");
        DeleteFileA(File("lights.csv").c_str());
        const std::string track =
            Track("square.wav", wavbytes::Track(r.channels, r.rate, r.bits, r.rate / 2, Square(99, 25), 0xCCCC));
        const ChildResult run = Host("--fast " + track);
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        const Lights lights = ReadLights();
        EXPECT_TRUE(lights.header);
        EXPECT_EQ(lights.otherRows, 0);
        EXPECT_EQ(lights.logo, Repeat({70, 17}, 10));
        // Mono feeds the right channel too.
        EXPECT_EQ(lights.sli, r.channels == 1 ? Repeat({70, 17}, 10) : Repeat({25, 6}, 10));
    }
}

// Libraries named as the driver and as WinSock beside the host and the plug-in, which is
// also the current folder, are never loaded: the lights are the system-folder driver's, and
// with Debug=1 the requests reach the service through the system's WinSock.
TEST_F(HostRun, LibrariesBesideTheHostAreNeverLoaded) {
    for (const char* name : {kDriverName, "WSOCK32.DLL"}) {
        ASSERT_TRUE(CopyFileA(File(kPlantedName).c_str(), File(name).c_str(), FALSE)) << name;
    }
    const std::string track = Track("square.wav", wavbytes::Track(2, 8000, 16, 4000, Square(99, 25)));
    const ChildResult run = Host("--fast " + track);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(ReadLights().logo, Repeat({70, 17}, 10));

    UdpService service;
    ASSERT_TRUE(service.Start());
    std::string debugOn = kTwoLights;
    debugOn.replace(debugOn.find("Decay=4"), 7, "Decay=4\r\nDebug=1");
    ASSERT_TRUE(Write("vis_glowmeter.ini", debugOn));
    const ChildResult debug = Host("--fast --frames 2 " + track);
    EXPECT_EQ(debug.exitCode, 0u) << debug.err;
    EXPECT_EQ(service.Received().size(), 8u) << "two frames, two lights, two requests each";

    for (const char* name : {kDriverName, "WSOCK32.DLL"}) {
        EXPECT_FALSE(TempFolder::Exists(File(std::string(name) + ".loaded"))) << name << " was loaded";
    }
}

TEST_F(HostRun, RowsAreTakenAtThePlayingPosition) {
    // One second at 8000 Hz, silent for the first half. Frame k reads frames 400k to
    // 400k + 575: frames 0 to 8 see only silence, frame 9 on reaches the sound.
    const std::string track = Track("half.wav", wavbytes::Track(1, 8000, 16, 8000, [](size_t f, unsigned) {
        return f < 4000 ? 0 : (f % 40 < 20 ? 99 : -99);
    }));
    const ChildResult run = Host("--fast " + track);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    std::vector<unsigned> expected = Repeat({0, 0}, 9);
    const std::vector<unsigned> loud = Repeat({70, 17}, 11);
    expected.insert(expected.end(), loud.begin(), loud.end());
    EXPECT_EQ(ReadLights().logo, expected);
}

TEST_F(HostRun, RealTimeRunTakesTheTrackLengthAndStopsAtFrameLimit) {
    const std::string track = Track("short.wav", wavbytes::Track(2, 8000, 16, 2400, Square(99, 25)));  // 0.3 s
    const ChildResult run = Host(track);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    // Paced as Winamp paces: a frame, then the module's 50 ms, to the end of the track; six
    // frames, or five when the machine is so busy that a sleep runs long.
    EXPECT_GE(run.elapsedMs, 280u);
    const size_t levels = ReadLights().logo.size();
    EXPECT_TRUE(levels == 12u || levels == 10u) << levels;
    EXPECT_NE(run.err.find(std::to_string(levels / 2) + " frames"), std::string::npos) << run.err;

    DeleteFileA(File("lights.csv").c_str());
    const ChildResult limited = Host("--frames 4 " + track);
    EXPECT_EQ(limited.exitCode, 0u) << limited.err;
    EXPECT_EQ(ReadLights().logo.size(), 8u);
}

TEST_F(HostRun, LightViewPrintsPlainLinesWhenNotATerminal) {
    SetEnvironmentVariableA("GLOWMETER_VIEW", "1");
    const std::string track = Track("square.wav", wavbytes::Track(2, 8000, 16, 4000, Square(99, 25)));
    const ChildResult run = Host("--fast " + track);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.out.find("D0 G0 Logo  [##############......]  70%"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("D0 G0 SLI   [#####...............]  25%"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("\x1b["), std::string::npos) << "no cursor movement into a pipe";
    // A fast run of ten frames is far quicker than the interval between two lines of a light,
    // so each light shows its first level and, at the end, the level it settled on.
    EXPECT_LE(std::count(run.out.begin(), run.out.end(), '\n'), 4) << run.out;
    EXPECT_NE(run.out.find("D0 G0 Logo  [###.................]  17%"), std::string::npos) << run.out;
}

// What scripts/demo --zones does, cut short: a machine of boards with illumination zones
// only, and a zone light ("Light Zones", Attribute 2) on each channel. Every frame sets each
// GPU's zones to the level, then the level / 4; the end of the run gives them back.
TEST_F(HostRun, ZoneLightsFollowTheMusicOnABoardWithZonesOnly) {
    ASSERT_TRUE(Write("vis_glowmeter.ini",
                      "[GLOBAL]\r\nDecay=4\r\n[HALOSEQ]\r\nEnable=0\r\n"
                      "[DEVICE0]\r\nEnable=1\r\nDisplay=0\r\nGPU=0\r\nAttribute=2\r\nChannel=1\r\n"
                      "[DEVICE1]\r\nEnable=1\r\nDisplay=0\r\nGPU=1\r\nAttribute=2\r\nChannel=2\r\n"));
    SetEnvironmentVariableA("GLOWMETER_NVSIM", GLOWMETER_SOURCE_DIR "/tools/nvapi_sim/scenarios/zones-board.ini");
    const std::string track = Track("square.wav", wavbytes::Track(2, 8000, 16, 4000, Square(99, 25)));  // 10 frames
    const ChildResult run = Host("--fast " + track);
    SetEnvironmentVariableA("GLOWMETER_NVSIM", nullptr);
    EXPECT_EQ(run.exitCode, 0u) << run.err;

    std::vector<unsigned> zones[2];
    for (const LightRow& row : ReadRows().rows) {
        EXPECT_EQ(row.attribute, 2) << "display " << row.display << " GPU " << row.gpu;
        if (row.display == 0 && row.gpu < 2) zones[row.gpu].push_back(row.level);
    }
    // The frames, then the user's own lighting as the board had it (its first zone at 100 %).
    std::vector<unsigned> left = Repeat({70, 17}, 10), right = Repeat({25, 6}, 10);
    left.push_back(100);
    right.push_back(100);
    EXPECT_EQ(zones[0], left);
    EXPECT_EQ(zones[1], right);
}

// What scripts/demo does, cut short: the sample settings beside the plug-in and the demo
// track through the host.
TEST_F(HostRun, DemoTrackPlaysInAShortRun) {
    const std::string demo = ProgramFolder() + "glowmeter-demo.wav";
    ASSERT_NE(GetFileAttributesA(demo.c_str()), INVALID_FILE_ATTRIBUTES) << "the build synthesizes " << demo;
    ASSERT_TRUE(CopyFileA(GLOWMETER_SOURCE_DIR "/dist/vis_glowmeter.ini", File("vis_glowmeter.ini").c_str(), FALSE));
    const ChildResult run = Host("--fast --frames 200 \"" + demo + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.err.find("200 frames"), std::string::npos) << run.err;
    const Lights lights = ReadLights();
    ASSERT_EQ(lights.logo.size(), 400u);
    ASSERT_EQ(lights.sli.size(), 400u);
    // The music moves the lights: many different levels, and the two channels differ.
    EXPECT_GE(std::set<unsigned>(lights.logo.begin(), lights.logo.end()).size(), 10u);
    EXPECT_NE(lights.logo, lights.sli);
}

TEST_F(HostRun, ListsTheModules) {
    const ChildResult run = Host("--list");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    for (const char* text : {"Glowmeter v1.03", "0  Normal response", "every 50 ms", "1  High response",
                             "every 25 ms", "2  Low response", "every 200 ms"}) {
        EXPECT_NE(run.out.find(text), std::string::npos) << text << " in " << run.out;
    }
}

// Winamp may sit in any folder and play any file: the host, the plug-in and its settings in a
// folder named in Cyrillic and CJK letters, playing a track named so too. The plug-in finds
// its settings there (the lights follow them), and the messages give the names in UTF-8.
TEST_F(HostRun, AFolderAndTrackNamedOutsideTheAnsiCodePageWork) {
    const std::string folder = File(Utf8FromWide(kUnicodeFolderName));
    const std::string track = u8"\u041f\u0435\u0441\u043d\u044f \u6b4c.wav";
    ASSERT_TRUE(CreateDirectoryW(WideFromUtf8(folder).c_str(), nullptr));
    for (const char* name : {kHostName, "vis_glowmeter.dll", "vis_glowmeter.ini"}) {
        ASSERT_TRUE(CopyFileW(WideFromUtf8(File(name)).c_str(), WideFromUtf8(folder + "\\" + name).c_str(), FALSE))
            << name;
    }
    const Bytes wav = wavbytes::Track(2, 8000, 16, 4000, Square(99, 25));
    HANDLE file = CreateFileW(WideFromUtf8(folder + "\\" + track).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, wav.data(), static_cast<DWORD>(wav.size()), &written, nullptr);
    CloseHandle(file);

    const std::string host = "\"" + folder + "\\" + kHostName + "\" ";
    const ChildResult run = RunChild(host + "--fast \"" + track + "\"", folder, 60000);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.err.find(track + " (8000 Hz 16-bit stereo)"), std::string::npos) << run.err;
    EXPECT_EQ(ReadLights().logo, Repeat({70, 17}, 10));

    ASSERT_TRUE(DeleteFileW(WideFromUtf8(folder + "\\vis_glowmeter.ini").c_str()));
    const ChildResult dark = RunChild(host + "--fast --frames 1 \"" + track + "\"", folder, 60000);
    EXPECT_EQ(dark.exitCode, 0u) << dark.err;
    EXPECT_NE(dark.err.find("no settings file " + folder + "\\vis_glowmeter.ini"), std::string::npos) << dark.err;
    const ChildResult missing = RunChild(host + u8"\"\u65e5\u672c.wav\"", folder, 60000);
    EXPECT_EQ(missing.exitCode, 2u);
    EXPECT_NE(missing.err.find(u8"cannot read the track \"\u65e5\u672c.wav\": no such file"), std::string::npos)
        << missing.err;
}

// A dialog box of the child process, or null.
HWND FindProcessDialog(unsigned long pid) {
    struct Search { unsigned long pid; HWND found; } search{pid, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char cls[32] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (owner == s.pid && std::string(cls) == "#32770") s.found = hwnd;
            return s.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Finds the child's settings dialog and presses Cancel. The dialog only opens when the
// host registered the up-down control class first, and it must be owned by a host window.
struct DialogCloser {
    bool seen = false;
    bool owned = false;
    void operator()(unsigned long pid) {
        HWND dialog = FindProcessDialog(pid);
        // Pressed once, when the dialog is up with its buttons.
        HWND cancel = dialog ? GetDlgItem(dialog, IDCANCEL) : nullptr;
        if (!cancel || !IsWindowVisible(dialog) || seen) return;
        seen = true;
        DWORD ownerPid = 0;
        HWND owner = GetWindow(dialog, GW_OWNER);
        GetWindowThreadProcessId(owner, &ownerPid);
        owned = owner != nullptr && ownerPid == pid;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    }
};

// Opens the settings mid-track as Winamp's Preferences page would, while the visualization
// thread plays on; Apply with Decay 1 restarts the module, and the lights follow at once.
struct DecayApplier {
    bool applied = false;
    void operator()(unsigned long pid) {
        if (applied) return;
        HWND dialog = FindProcessDialog(pid);
        HWND apply = dialog ? GetDlgItem(dialog, IDOK) : nullptr;
        if (!apply || !IsWindowVisible(dialog)) return;
        applied = true;
        SetDlgItemInt(dialog, IDC_DECAY, 1, FALSE);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    }
};

TEST_F(HostRun, SettingsAppliedMidTrackChangeTheLightsFromTheNextFrame) {
    // About 6 s, ending on the high half of the square wave: the last frame, whose rows run
    // past the end (silence), still sees a peak wherever it starts, and so every frame after
    // Apply reads 70. (Ending on the low half, a last frame starting in it saw only negative
    // samples and silence, which the meter reads as 0.)
    const std::string track = Track("long.wav", wavbytes::Track(2, 8000, 16, 8000 * 6 - 20, Square(99, 25)));
    // A scenario file that is not there: the default machine, and one line about it, also with
    // the settings' own load of the plug-in and the restart.
    SetEnvironmentVariableA("GLOWMETER_NVSIM", File("no-such-machine.ini").c_str());
    DecayApplier applier;
    const ChildResult run = Host("--config-at 0.5 " + track, 30000, std::ref(applier));
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_TRUE(applier.applied);
    EXPECT_NE(run.err.find("settings open"), std::string::npos) << run.err;
    EXPECT_EQ(GetPrivateProfileIntA("GLOBAL", "Decay", 0, File("vis_glowmeter.ini").c_str()), 1u);
    const size_t said = run.err.find("simulated NVIDIA driver: no scenario file");
    EXPECT_NE(said, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("simulated NVIDIA driver", said + 1), std::string::npos) << "said once: " << run.err;

    // 70 then 17 each frame until the restart, 70 then 70 after it.
    const std::vector<unsigned> logo = ReadLights().logo;
    ASSERT_EQ(logo.size() % 2, 0u);
    size_t pair = 0;
    while (pair * 2 < logo.size() && logo[pair * 2 + 1] == 17) ++pair;
    EXPECT_GE(pair, 5u) << "frames before the settings opened";
    EXPECT_LT(pair * 2, logo.size()) << "no frame after Apply";
    for (size_t i = pair * 2; i < logo.size(); ++i) ASSERT_EQ(logo[i], 70u) << "level " << i;
}

TEST_F(HostRun, ConfigOpensTheSettingsDialogOwnedByTheHost) {
    DialogCloser closer;
    const ChildResult run = Host("--config", 30000, std::ref(closer));
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_TRUE(closer.seen);
    EXPECT_TRUE(closer.owned);
}

}  // namespace
