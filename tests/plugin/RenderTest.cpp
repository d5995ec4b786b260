// One visualization run on the simulated driver: what Init opens, what every frame sends to
// the lights, what Quit releases, and what a Config whose dialog never appears leaves alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "tests/plugin/LockHolder.h"
#include "plugin/PlayerCoordination.h"
#include "tests/common/DriverLog.h"
#include "tests/common/SettingsFile.h"
#include "tests/gpu/SimFixture.h"
#include "tests/plugin/PluginRun.h"
#include "plugin/Lifecycle.h"
#include "plugin/PluginState.h"
#include "plugin/Render.h"
#include "tests/plugin/SimMachine.h"

namespace {

using testrun::SetCall;
using Sets = std::vector<SetCall>;

struct PluginRun : ::testing::Test {
    winampVisModule module = {};
    std::string settingsPath = SettingsPath();

    void SetUp() override { testrun::EightGpuMachine(); }

    void TearDown() override {
        if (g_RenderLock.IsCreated()) Quit(&module);
        RemoveSettingsFile(settingsPath);
        NvSim_Reset();
    }

    // Starts a run on these settings (in the file and in memory alike) with an empty call log.
    void Start(const PLUGINCFG& cfg) {
        WriteSettingsFile(cfg, settingsPath);
        g_LiveConfig = cfg;
        Init(&module);
        NvSim_ClearCalls();
    }

    static PLUGINCFG Quiet() {
        PLUGINCFG cfg = testrun::DefaultSettings();
        cfg.PlayerEnable = 0;
        return cfg;
    }

    Sets Frame(int leftPeak, int rightPeak) {
        testrun::SetWaveform(module, leftPeak, rightPeak);
        NvSim_ClearCalls();
        EXPECT_EQ(Render(&module), 0);
        return testrun::SetCalls();
    }
};

// The stepped mapping and the worked examples: the pair of values that reach the light of a
// slot on the SLI bridge of GPU 0, for the slot's channel and decay.
TEST_F(PluginRun, EachFrameSendsTheMappedLevelThenTheLevelOverTheDecay) {
    struct Row {
        int left, right, channel;
        unsigned decay;
        std::vector<unsigned> sent;
    };
    const int L = kChannelLeft, R = kChannelRight, B = kChannelBoth;
    const Row rows[] = {
        // the mapping, Left channel, Decay 4
        {0, 9, L, 4, {0, 0}},        {1, 9, L, 4, {1, 0}},        {15, 9, L, 4, {15, 3}},
        {30, 9, L, 4, {30, 7}},      {31, 9, L, 4, {20, 5}},      {39, 9, L, 4, {20, 5}},
        {40, 9, L, 4, {30, 7}},      {49, 9, L, 4, {30, 7}},      {50, 9, L, 4, {40, 10}},
        {51, 9, L, 4, {30, 7}},      {59, 9, L, 4, {30, 7}},      {60, 9, L, 4, {40, 10}},
        {69, 9, L, 4, {40, 10}},     {70, 9, L, 4, {50, 12}},     {79, 9, L, 4, {50, 12}},
        {80, 9, L, 4, {60, 15}},     {89, 9, L, 4, {60, 15}},     {90, 9, L, 4, {70, 17}},
        {99, 9, L, 4, {70, 17}},     {100, 9, L, 4, {80, 20}},    {109, 9, L, 4, {80, 20}},
        {110, 9, L, 4, {90, 22}},    {119, 9, L, 4, {90, 22}},    {120, 9, L, 4, {100, 25}},
        {127, 9, L, 4, {100, 25}},
        // the worked examples
        {0, 0, L, 4, {0, 0}},        {25, 90, L, 4, {25, 6}},     {25, 90, R, 4, {70, 17}},
        {25, 90, B, 4, {30, 7}},     {127, 127, B, 8, {100, 12}}, {50, 12, L, 1, {40, 40}},
        {0, -1, B, 4, {0, 0}},       {-3, -5, B, 4, {}},
        // a negative peak on the chosen channel: no call, whatever the other channel holds
        {-3, 90, L, 4, {}},          {90, -128, R, 4, {}},
        // Both truncates toward zero: (3 - 4) / 2 is 0, not -1; (1 + 2) / 2 is 1
        {3, -4, B, 4, {0, 0}},       {1, 2, B, 4, {1, 0}},        {-4, 1, B, 4, {}},
        // Decay 8, and a Decay of 0 (never reloaded) that acts as 1
        {90, 0, L, 8, {70, 8}},      {90, 0, L, 0, {70, 70}},
    };
    PLUGINCFG cfg = Quiet();
    cfg.Devices[0].Enable = 1;
    cfg.Devices[0].Attribute = kAttributeSli;
    cfg.Devices[0].Channel = kChannelLeft;
    Start(cfg);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "left " << row.left << " right " << row.right << " channel "
                                        << row.channel << " decay " << row.decay);
        g_LiveConfig.Devices[0].Channel = row.channel;
        g_LiveConfig.Decay = row.decay;
        Sets expected;
        for (unsigned value : row.sent) expected.push_back({0, kAttributeSli, value});
        EXPECT_EQ(Frame(row.left, row.right), expected);
    }
}

TEST_F(PluginRun, SilenceSetsZeroTwiceAndSampleZeroIsNotRead) {
    PLUGINCFG cfg = Quiet();
    const int channels[] = {kChannelLeft, kChannelRight, kChannelBoth};
    for (int i = 0; i < 3; ++i) {
        cfg.Devices[i].Enable = 1;
        cfg.Devices[i].Channel = channels[i];
    }
    Start(cfg);
    const Sets zeros = {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 0, 0}};

    std::memset(module.waveformData, 0, sizeof(module.waveformData));
    NvSim_ClearCalls();
    Render(&module);
    EXPECT_EQ(testrun::SetCalls(), zeros);

    module.waveformData[0][0] = 127;  // the only loud samples sit at index 0
    module.waveformData[1][0] = 127;
    NvSim_ClearCalls();
    Render(&module);
    EXPECT_EQ(testrun::SetCalls(), zeros);
}

// Only enabled slots with a known channel send anything; a slot with an unknown channel code
// sends nothing, and the slots after it still get their own values.
TEST_F(PluginRun, SlotsWithoutOutputMakeNoCall) {
    PLUGINCFG cfg = Quiet();
    const struct { int enable, channel; } slots[8] = {
        {1, kChannelLeft}, {0, kChannelLeft}, {1, kChannelDisable}, {1, 9},
        {1, -1},           {1, kChannelRight}, {1, 4},              {1, kChannelBoth},
    };
    for (int i = 0; i < 8; ++i) {
        cfg.Devices[i].Enable = slots[i].enable;
        cfg.Devices[i].Channel = slots[i].channel;
    }
    Start(cfg);
    EXPECT_EQ(Frame(25, 90), Sets({{0, 0, 25}, {0, 0, 6}, {5, 0, 70}, {5, 0, 17}, {7, 0, 30}, {7, 0, 7}}));
}

TEST_F(PluginRun, InitOpensEverySlotAndQuitReleasesEveryLink) {
    PLUGINCFG cfg = Quiet();
    cfg.Devices[0].Enable = 1;
    cfg.Devices[0].Channel = kChannelLeft;
    cfg.Devices[6].Display = 3;               // no such display
    cfg.Devices[7].Attribute = kAttributeSli;  // GPU 7 has no SLI bridge light
    WriteSettingsFile(cfg, settingsPath);
    g_LiveConfig = cfg;
    Init(&module);

    EXPECT_EQ(CountDriverCalls(kNvId_Initialize), 8);
    // Each slot that reached its GPU asked that GPU for the slot's light.
    std::vector<std::pair<int, int>> queried;
    for (const NvSimCall& call : DriverCalls())
        if (call.id == kNvId_GPU_QueryIlluminationSupport) queried.push_back({testrun::GpuOf(call), call.attribute});
    EXPECT_EQ(queried, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {7, 1}}));
    // The display's adapter names every slot that has its light.
    const char* names[8] = {"Sim GPU 0", "Sim GPU 0", "Sim GPU 0", "Sim GPU 0",
                            "Sim GPU 0", "Sim GPU 0", "Unknown",   "Unsupport"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_STREQ(g_LiveConfig.Devices[i].Name, names[i]) << "slot " << i;
        EXPECT_NE(g_Devices[i].hNvapi, nullptr) << "slot " << i;
    }

    Quit(&module);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(g_Devices[i].hNvapi, nullptr) << "slot " << i;
        EXPECT_EQ(g_Devices[i].pfnQueryInterface, nullptr) << "slot " << i;
    }
}

// A board with illumination zones only (an RGB zone that cycles, an RGBW one and a single
// colour one): a zone slot sets every zone twice a frame, level then level / Decay, each
// keeping its colour, and Quit gives the zones back as they were, byte for byte.
TEST_F(PluginRun, AZoneSlotDrivesEveryZoneAndQuitGivesThemBack) {
    NvSim_Reset();
    const int gpu = AddZoneBoard("Zone Board", {
        {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB, NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR, {10, 200, 30, 90, 7, 7}},
        {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGBW, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {1, 2, 3, 4, 80}},
        {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {60}},
    });
    AddDisplayOf({gpu});
    const std::vector<NvSimZone> before = ZonesOf(gpu);
    ASSERT_EQ(before.size(), 3u);

    PLUGINCFG cfg = Quiet();
    cfg.Devices[0] = {1, 0, 0, kAttributeZones, kChannelLeft, ""};
    Start(cfg);
    EXPECT_STREQ(g_LiveConfig.Devices[0].Name, "Zone Board");
    testrun::SetWaveform(module, 90, 0);  // level 70, then 70 / 4
    NvSim_ClearCalls();
    Render(&module);
    std::vector<unsigned> set;
    for (const NvSimCall& call : DriverCalls()) {
        if (call.id != kNvId_GPU_ClientIllumZonesSetControl) continue;
        EXPECT_EQ(call.version, NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_VER);
        EXPECT_EQ(call.index, 0u) << "bDefault set";
        set.push_back(call.value);
    }
    EXPECT_EQ(set, std::vector<unsigned>({70, 17}));
    const std::vector<NvSimZone> now = ZonesOf(gpu);
    ASSERT_EQ(now.size(), 3u);
    const size_t brightnessAt[3] = {3, 4, 0};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(now[i].mode, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL);
        EXPECT_EQ(now[i].data[brightnessAt[i]], 17);
        EXPECT_EQ(std::memcmp(now[i].data, before[i].data, brightnessAt[i]), 0) << "the colour changed";
    }

    Quit(&module);
    const std::vector<NvSimZone> after = ZonesOf(gpu);
    ASSERT_EQ(after.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(std::memcmp(&after[i], &before[i], sizeof(NvSimZone)), 0) << "zone " << i << " not given back";
}

// A driver that refuses to take the zones back at Quit: the run still ends as usual.
TEST_F(PluginRun, QuitEndsTheRunWhenTheZonesCannotBeGivenBack) {
    NvSim_Reset();
    const ZoneSpec single = {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {60}};
    AddDisplayOf({AddZoneBoard("Zone Board", {single})});
    PLUGINCFG cfg = Quiet();
    cfg.Devices[0] = {1, 0, 0, kAttributeZones, kChannelLeft, ""};
    Start(cfg);
    testrun::SetWaveform(module, 90, 0);
    Render(&module);
    NvSim_FailCall(kNvId_GPU_ClientIllumZonesSetControl, NVAPI_ERROR);
    Quit(&module);
    EXPECT_FALSE(g_RenderLock.IsCreated());
    EXPECT_EQ(g_Devices[0].hNvapi, nullptr);
    EXPECT_EQ(CountDriverCalls(kNvId_GPU_ClientIllumZonesSetControl), 3) << "one frame's two sets, then the refused one";
}

// With the render lock held elsewhere, Render neither waits nor drops the lights: it only
// loses the frame's stamp, and the failed try is counted.
TEST_F(PluginRun, RenderNeverWaitsForTheRenderLock) {
    PLUGINCFG cfg = testrun::DefaultSettings();  // player coordination on
    cfg.Devices[2].Enable = 1;
    cfg.Devices[2].Channel = kChannelRight;
    Start(cfg);
    ASSERT_EQ(g_Player.renderSeen, 0);
    const unsigned contention = g_RenderLock.Contention();

    testrun::LockHolder<CCS> holder(g_RenderLock);
    ASSERT_TRUE(holder.IsHolding());
    const DWORD start = GetTickCount();
    const Sets sets = Frame(0, 90);
    const DWORD took = GetTickCount() - start;
    holder.Release();

    EXPECT_LT(took, 1000u) << "Render waited for the lock";
    EXPECT_EQ(sets, Sets({{2, 0, 70}, {2, 0, 17}}));
    EXPECT_EQ(g_Player.renderSeen, 0) << "a stamp was made without the lock";
    EXPECT_EQ(g_RenderLock.Contention(), contention + 1);

    Frame(0, 90);
    EXPECT_EQ(g_Player.renderSeen, 1);
}

// The test program holds no dialog 101, so DialogBoxParamA fails with -1: that is no Apply.
TEST_F(PluginRun, ConfigWhoseDialogCannotBeCreatedChangesNothing) {
    PLUGINCFG cfg = Quiet();
    cfg.Devices[1].Enable = 1;
    cfg.Devices[1].Channel = kChannelBoth;
    Start(cfg);
    const std::string fileBefore = testrun::ReadFileText(settingsPath);
    ASSERT_FALSE(fileBefore.empty());
    g_WorkConfig = testrun::DefaultSettings();  // a working copy the dialog never filled
    g_WorkConfig.Decay = 7;
    for (DEVICECFG& slot : g_WorkConfig.Devices) slot = {1, 9, 9, 1, kChannelLeft, "junk"};

    Config(&module);

    EXPECT_EQ(DriverCalls().size(), 0u) << "Init or Quit ran";
    EXPECT_TRUE(g_RenderLock.IsCreated());
    for (const CNVGF& device : g_Devices) EXPECT_NE(device.hNvapi, nullptr);
    EXPECT_EQ(testrun::ReadFileText(settingsPath), fileBefore) << "the settings were saved";
    EXPECT_EQ(g_LiveConfig.Decay, 4u);
    EXPECT_STREQ(g_LiveConfig.Devices[1].Name, "Sim GPU 0");
    EXPECT_EQ(Frame(25, 90), Sets({{1, 0, 30}, {1, 0, 7}}));

    Config(&module);  // the busy flag was cleared: a second Config runs and returns as well
    EXPECT_EQ(testrun::ReadFileText(settingsPath), fileBefore);
}

}  // namespace
