// The diagnostic path inside a plug-in run: Init decides, Render sends, Quit closes, with a
// real UDP service on 127.0.0.1:30000 and the simulated driver in the system folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/CLUMOCLI.h"
#include "tests/client/UdpEndpoints.h"
#include "tests/client/UdpService.h"
#include "client/WS32LIB.h"
#include "gpu/NvApi.h"
#include "plugin/Lifecycle.h"
#include "plugin/Render.h"
#include "settings/PluginCfg.h"
#include "tools/nvapi_sim/NvapiSim.h"
#include "tests/common/DriverLog.h"
#include "tests/common/SettingsFile.h"
#include "tests/common/Stopwatch.h"

namespace {

// The brightness sets that reached the driver (the call log holds the run's other calls too).
int DriverSetCalls() { return CountDriverCalls(kNvId_GPU_SetIllumination); }

struct LevelPair { int32_t first, second; };

// A run with Debug on and the first `slots` slots on the left channel of display 0, GPU 0.
// The settings go both into the file (Init reloads it) and into the live record.
struct DiagnosticRun : ::testing::Test {
    UdpService service;
    winampVisModule module = {};
    int slots = 3;

    void WriteSettings() {
        PLUGINCFG cfg = {};
        cfg.Debug = 1;
        cfg.Decay = 4;
        cfg.PlayerWait = 10;
        for (int i = 0; i < kDeviceSlots; ++i) cfg.Devices[i].GPU = static_cast<uint32_t>(i);
        for (int i = 0; i < slots; ++i) {
            cfg.Devices[i].Enable = 1;
            cfg.Devices[i].GPU = 0;
            cfg.Devices[i].Channel = kChannelLeft;
        }
        WriteSettingsFile(cfg, SettingsPath());
        g_LiveConfig = cfg;
    }

    void SetUp() override {
        ASSERT_EQ(WS32LIB_GetLoadCount(), 0u);
        NvSim_Reset();
        const int gpu = NvSim_AddGpu("GeForce Glow", "Glow Adapter", 920, 1, 1);
        NvSim_AddDisplay(&gpu, 1);
        // Left peak 100: level 80, then 80 / 4.
        module.waveformData[0][7] = 100;
    }

    void StartRun() {
        WriteSettings();
        Init(&module);
        NvSim_ClearCalls();
    }

    // A run of eight lights against a service that answers every request as `answer` says,
    // started on the diagnostic path.
    void StartEightLights(const ReplyScript& answer) {
        slots = 8;
        service.Script(answer);
        ASSERT_TRUE(service.Start());
        StartRun();
        ASSERT_EQ(g_LiveConfig.Debug, 1);
    }

    // Renders one frame and tells how long it took, in ms.
    double TimedFrame() {
        const double start = NowMs();
        Render(&module);
        return NowMs() - start;
    }

    // The frame's bound, the pauses after its two exchanges (5 ms at most each) and room for a
    // busy machine.
    static constexpr double kFrameLimitMs = CLUMOCLI::kFrameBoundMs + 2 * 5 + 200;

    std::vector<LevelPair> RequestsSent() {
        std::vector<LevelPair> levels;
        for (const ReceivedDatagram& d : service.Received()) {
            int32_t fields[6];
            std::memcpy(fields, d.bytes.data(), sizeof(fields));
            levels.push_back({fields[4], fields[5]});  // attribute, level
        }
        return levels;
    }

    void TearDown() override {
        Quit(&module);
        // A run that fell back leaves the client open on purpose; end it here.
        if (WS32LIB_GetLoadCount() != 0) g_Client.Close();
        DeleteFileA(SettingsPath().c_str());
        g_LiveConfig = PLUGINCFG();
    }
};

TEST_F(DiagnosticRun, DebugOnDrivesTheServiceAndNotTheDriver) {
    ASSERT_TRUE(service.Start());
    StartRun();
    EXPECT_EQ(g_LiveConfig.Debug, 1);
    EXPECT_EQ(WS32LIB_GetLoadCount(), 1u);

    Render(&module);
    EXPECT_EQ(DriverSetCalls(), 0);
    const std::vector<LevelPair> sent = RequestsSent();
    ASSERT_EQ(sent.size(), 6u);
    for (size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i].second, i % 2 == 0 ? 80 : 20) << i;
    EXPECT_EQ(g_LiveConfig.Debug, 1);

    Quit(&module);  // Debug still on: the client is closed and WinSock released
    EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);
}

// With the diagnostic path open the process listens on no UDP endpoint of every interface:
// the client's endpoint, from which the service got its requests, is 127.0.0.1.
TEST_F(DiagnosticRun, TheOpenPathListensOnLoopbackOnly) {
    ASSERT_TRUE(service.Start());
    StartRun();
    ASSERT_EQ(g_LiveConfig.Debug, 1);
    Render(&module);  // the client's socket is now used by this process, so the table names it
    const std::vector<ReceivedDatagram> got = service.Received();
    ASSERT_FALSE(got.empty());

    const std::vector<UdpEndpoint> endpoints = UdpEndpoints();
    for (const UdpEndpoint& endpoint : endpoints) {
        if (endpoint.ownerPid == GetCurrentProcessId()) {
            EXPECT_NE(endpoint.address, 0u) << "0.0.0.0:" << endpoint.port;
        }
    }
    const std::vector<UdpEndpoint> client = UdpEndpointsAt(endpoints, got[0].sentFromPort);
    ASSERT_EQ(client.size(), 1u);
    EXPECT_EQ(client[0].address, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(client[0].ownerPid, GetCurrentProcessId());
    for (const ReceivedDatagram& datagram : got) EXPECT_EQ(datagram.sentFromPort, got[0].sentFromPort);
}

TEST_F(DiagnosticRun, WinsockAlreadyLoadedKeepsTheRunOnTheDriver) {
    ASSERT_TRUE(service.Start());
    ASSERT_EQ(WS32LIB_LoadDLL(), 0);
    StartRun();
    EXPECT_EQ(g_LiveConfig.Debug, 0);

    Render(&module);
    EXPECT_EQ(DriverSetCalls(), 2 * slots);
    EXPECT_TRUE(service.Received().empty());
    EXPECT_EQ(NvSim_Brightness(0, 0), 20);

    Quit(&module);  // Debug off: nothing of WinSock is touched
    EXPECT_EQ(WS32LIB_GetLoadCount(), 1u);
    WS32LIB_UnloadDLL();
}

TEST_F(DiagnosticRun, OnlyAFailedSecondRequestHandsTheFrameToTheDriver) {
    ReplyScript done;
    ReplyScript failed;
    failed.status = 0;
    struct Case {
        const char* name;
        std::vector<ReplyScript> answers;  // for the requests of slot 0
        size_t requests;                   // requests the service gets in the frame
        int driverSets;                    // set calls the driver gets in the frame
        int debugAfter;
    };
    const Case cases[] = {
        {"first fails, second confirmed", {failed, done}, 6, 0, 1},
        {"first confirmed, second fails", {done, failed}, 2, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UdpService fresh;
        fresh.ScriptSequence(c.answers);
        ASSERT_TRUE(fresh.Start());
        StartRun();
        ASSERT_EQ(g_LiveConfig.Debug, 1);
        Render(&module);
        EXPECT_EQ(fresh.Received().size(), c.requests);
        EXPECT_EQ(DriverSetCalls(), c.driverSets);
        EXPECT_EQ(g_LiveConfig.Debug, c.debugAfter);

        // Quit closes the client only while Debug is still on.
        Quit(&module);
        EXPECT_EQ(WS32LIB_GetLoadCount(), c.debugAfter ? 0u : 1u);
        if (WS32LIB_GetLoadCount() != 0) g_Client.Close();
    }
}

TEST_F(DiagnosticRun, AServiceThatNeverAnswersCostsOneSlotThenTheDriverTakesOver) {
    ReplyScript silent;
    silent.silent = true;
    ASSERT_NO_FATAL_FAILURE(StartEightLights(silent));

    // Slot 0's first request waits out the frame's bound, its second finds it used up; the
    // other seven slots go to the driver.
    EXPECT_LT(TimedFrame(), kFrameLimitMs);
    EXPECT_EQ(service.Received().size(), 1u);
    EXPECT_EQ(DriverSetCalls(), 14);
    EXPECT_EQ(g_LiveConfig.Debug, 0);

    NvSim_ClearCalls();
    EXPECT_LT(TimedFrame(), 100.0);
    EXPECT_EQ(DriverSetCalls(), 16);
    EXPECT_EQ(service.Received().size(), 1u);
}

// A live service that answers each request well within the bound of one exchange, but slowly,
// would hold every frame of eight lights for sixteen of those waits (about a second); the
// frame's bound hands the lights to the driver within the first frame: the first reply comes
// in time, the second request finds too little of the bound left.
TEST_F(DiagnosticRun, ASlowServiceIsLeftWithinTheFirstFrame) {
    ReplyScript slow;
    slow.delayMs = 60;
    ASSERT_NO_FATAL_FAILURE(StartEightLights(slow));

    EXPECT_LT(TimedFrame(), kFrameLimitMs);
    EXPECT_EQ(g_LiveConfig.Debug, 0);
    EXPECT_EQ(service.Received().size(), 2u);
    EXPECT_EQ(DriverSetCalls(), 14);
}

}  // namespace
