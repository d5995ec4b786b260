// The host's view of the plug-in: the DLL as Winamp loads it.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/common/DriverLog.h"
#include "tests/common/SettingsFile.h"
#include "tests/plugin/PluginRun.h"
#include "tests/plugin/SimMachine.h"
#include "sdk/WinampVis.h"

namespace {

struct PluginDll : ::testing::Test {
    HMODULE dll = LoadLibraryA("vis_glowmeter.dll");
    winampVisHeader* header = nullptr;
    void SetUp() override {
        ASSERT_NE(dll, nullptr);
        auto get = reinterpret_cast<winampVisGetHeaderType>(
            reinterpret_cast<void*>(GetProcAddress(dll, "winampVisGetHeader")));
        ASSERT_NE(get, nullptr);
        header = get();
        ASSERT_NE(header, nullptr);
    }
    void TearDown() override {
        if (dll) FreeLibrary(dll);
    }
};

TEST_F(PluginDll, HeaderNamesTheVersionAndDescription) {
    EXPECT_EQ(header->version, 0x103);
    EXPECT_STREQ(header->description, "Glowmeter v1.03");
}

TEST_F(PluginDll, ListsExactlyThreeModules) {
    struct Row { int index; const char* name; int delayMs; };
    const Row rows[] = {{0, "Normal response", 50}, {1, "High response", 25}, {2, "Low response", 200}};
    for (const Row& row : rows) {
        winampVisModule* module = header->getModule(row.index);
        ASSERT_NE(module, nullptr) << row.index;
        EXPECT_STREQ(module->description, row.name);
        EXPECT_EQ(module->delayMs, row.delayMs);
        EXPECT_EQ(module->latencyMs, 25);
        EXPECT_EQ(module->spectrumNch, 0);
        EXPECT_EQ(module->waveformNch, 2);
        EXPECT_EQ(module->hwndParent, nullptr);
        EXPECT_EQ(module->hDllInstance, nullptr);
        EXPECT_EQ(module->userData, nullptr);
        EXPECT_NE(module->Render, nullptr);
    }
    // All three share the same four entries.
    EXPECT_EQ(header->getModule(0)->Render, header->getModule(2)->Render);
    EXPECT_EQ(header->getModule(0)->Init, header->getModule(1)->Init);
    EXPECT_EQ(header->getModule(3), nullptr);
    EXPECT_EQ(header->getModule(-1), nullptr);
}

// A run as the host drives it, with the settings file beside the DLL choosing the lights.
struct PluginDllRun : PluginDll {
    winampVisModule* module = nullptr;
    std::string settingsPath;

    void SetUp() override {
        PluginDll::SetUp();
        testrun::EightGpuMachine();
        settingsPath = SettingsPath(dll);
        PLUGINCFG cfg = testrun::DefaultSettings();
        cfg.PlayerEnable = 0;
        cfg.Devices[0] = {1, 0, 0, kAttributeLogo, kChannelLeft, ""};
        cfg.Devices[3] = {1, 0, 3, kAttributeSli, kChannelRight, ""};
        WriteSettingsFile(cfg, settingsPath);
        module = header->getModule(0);
        module->hDllInstance = dll;
    }

    void TearDown() override {
        RemoveSettingsFile(settingsPath);
        NvSim_Reset();
        PluginDll::TearDown();
    }

    std::vector<testrun::SetCall> Frame(int leftPeak, int rightPeak) {
        testrun::SetWaveform(*module, leftPeak, rightPeak);
        NvSim_ClearCalls();
        EXPECT_EQ(module->Render(module), 0);
        return testrun::SetCalls();
    }
};

TEST_F(PluginDllRun, InitRenderQuitDriveTheLightsTheFileNames) {
    EXPECT_EQ(module->Init(module), 0);
    EXPECT_EQ(CountDriverCalls(kNvId_Initialize), 8);
    EXPECT_EQ(Frame(90, 25), std::vector<testrun::SetCall>({{0, 0, 70}, {0, 0, 17}, {3, 1, 25}, {3, 1, 6}}));
    // Every module record reaches the same run.
    winampVisModule* low = header->getModule(2);
    testrun::SetWaveform(*low, 0, 127);
    NvSim_ClearCalls();
    low->Render(low);
    EXPECT_EQ(testrun::SetCalls(), std::vector<testrun::SetCall>({{0, 0, 0}, {0, 0, 0}, {3, 1, 100}, {3, 1, 25}}));
    module->Quit(module);
}

// Config from a module whose instance holds no settings dialog: the dialog cannot be created,
// and the running plug-in goes on as it was, with nothing saved.
TEST_F(PluginDllRun, ConfigWithoutItsDialogLeavesTheRunAlone) {
    module->Init(module);
    const std::string fileBefore = testrun::ReadFileText(settingsPath);
    NvSim_ClearCalls();
    module->hDllInstance = GetModuleHandleA(nullptr);  // this test program: no dialog 101
    module->Config(module);
    module->hDllInstance = dll;
    EXPECT_EQ(DriverCalls().size(), 0u) << "Quit or Init ran";
    EXPECT_EQ(testrun::ReadFileText(settingsPath), fileBefore);
    EXPECT_EQ(Frame(90, 25), std::vector<testrun::SetCall>({{0, 0, 70}, {0, 0, 17}, {3, 1, 25}, {3, 1, 6}}));
    module->Quit(module);
}

}  // namespace
