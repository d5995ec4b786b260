// Coordination with the HALOSEQ player, seen from a real player window: the messages it gets,
// when it gets them, and the state behind them. The thread that runs Init pumps its own
// messages so the real one-second timer fires; the millisecond clock is a test clock, so
// waits of several seconds and the counter's wrap-around take no time.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "tests/plugin/LockHolder.h"
#include "plugin/PlayerClock.h"
#include "plugin/PlayerCoordination.h"
#include "tools/common/PlayerWindow.h"
#include "tests/common/SettingsFile.h"
#include "tests/plugin/PluginRun.h"
#include "plugin/Lifecycle.h"
#include "plugin/PluginState.h"
#include "plugin/Render.h"

namespace {

constexpr UINT kPause = 32772;
constexpr UINT kResume = 32771;

volatile unsigned g_Now = 0;
unsigned TestClock() { return g_Now; }

struct PlayerRun : ::testing::Test {
    winampVisModule module = {};
    std::unique_ptr<haloseq::PlayerWindow> player;
    std::string settingsPath = SettingsPath();

    void SetUp() override {
        PLUGINCFG cfg = testrun::DefaultSettings();
        cfg.PlayerWait = 5;
        Configure(cfg);
        g_Now = 100000;
        SetPlayerClock(TestClock);
        testrun::SetWaveform(module, 60, 60);
    }

    void TearDown() override {
        if (g_RenderLock.IsCreated()) Quit(&module);
        player.reset();
        haloseq::PumpFor(0);  // drop what is left in this thread's queue
        SetPlayerClock(nullptr);
        RemoveSettingsFile(settingsPath);
    }

    // The settings the next Init starts from, in the file and in memory alike.
    void Configure(const PLUGINCFG& cfg) {
        WriteSettingsFile(cfg, settingsPath);
        g_LiveConfig = cfg;
    }

    void StartPlayer() {
        player = std::make_unique<haloseq::PlayerWindow>();
        ASSERT_TRUE(player->IsUp());
    }

    // The messages the player has handled so far; every one must carry two zero parameters.
    std::vector<UINT> Received() {
        EXPECT_TRUE(player->Sync());
        std::vector<UINT> codes;
        for (const auto& m : player->Messages()) {
            EXPECT_EQ(m.wParam, 0u) << m.message;
            EXPECT_EQ(m.lParam, 0) << m.message;
            codes.push_back(m.message);
        }
        return codes;
    }

    void Frame(unsigned at) {
        g_Now = at;
        Render(&module);
    }

    void Tick(unsigned at) {
        g_Now = at;
        PlayerTick();
    }

    static void ExpectState(int renderSeen, int playerResumed) {
        EXPECT_EQ(g_Player.renderSeen, renderSeen);
        EXPECT_EQ(g_Player.playerResumed, playerResumed);
    }
};

TEST_F(PlayerRun, InitCreatesTheRenderLockOnceAndQuitDestroysIt) {
    g_Player = PlayerState{};
    Render(&module);  // before any Init: no lock, so no stamp
    EXPECT_EQ(g_Player.renderSeen, 0);

    Init(&module);
    ASSERT_TRUE(g_RenderLock.IsCreated());
    EXPECT_STREQ(g_RenderLock.Name(), "CCS_GLOWMETER_VIS_RENDER");
    {
        testrun::LockHolder<CCS> holder(g_RenderLock);
        Render(&module);  // counted as contention
    }
    const unsigned contention = g_RenderLock.Contention();
    EXPECT_EQ(contention, 1u);
    Init(&module);  // a second Init leaves the existing lock as it is
    EXPECT_EQ(g_RenderLock.Contention(), contention);

    Quit(&module);
    EXPECT_FALSE(g_RenderLock.IsCreated());
    EXPECT_STREQ(g_RenderLock.Name(), "");
    EXPECT_EQ(haloseq::PumpFor(1200), 0) << "the first Init's timer still runs";
}

TEST_F(PlayerRun, RunWithoutFramesPausesAtInitAndResumesAtQuit) {
    StartPlayer();
    Init(&module);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause}));
    ExpectState(0, 0);
    EXPECT_NE(g_Player.timer, 0u);

    g_Now += 1000000;  // long past any wait, but no frame was ever rendered
    EXPECT_GE(haloseq::PumpFor(2300), 2);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause}));
    ExpectState(0, 0);

    Quit(&module);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume}));
}

// The whole cycle on the real timer: resume on the first tick past the wait, exactly one
// pause on the first tick after frames come back.
TEST_F(PlayerRun, RealTimerResumesAfterTheWaitAndPausesOnceWhenFramesReturn) {
    StartPlayer();
    Init(&module);
    Frame(100000);
    ExpectState(1, 0);
    EXPECT_EQ(g_Player.lastRenderTick, 100000u);

    g_Now = 105000;  // exactly the wait: not enough
    EXPECT_GE(haloseq::PumpFor(1200), 1);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause}));

    g_Now = 105001;
    EXPECT_EQ(haloseq::PumpUntil(5000, [&] { return player->Count() >= 2; }), 1) << "resume not on the first tick";
    ASSERT_EQ(Received(), std::vector<UINT>({kPause, kResume}));
    ExpectState(0, 1);

    haloseq::PumpFor(1200);  // idle: the player runs, ticks do nothing
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume}));

    Frame(105500);
    ExpectState(1, 1);
    EXPECT_EQ(haloseq::PumpUntil(5000, [&] { return player->Count() >= 3; }), 1) << "pause not on the first tick";
    haloseq::PumpFor(1200);
    ASSERT_EQ(Received(), std::vector<UINT>({kPause, kResume, kPause}));
    ExpectState(1, 0);

    Quit(&module);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume, kPause, kResume}));
}

// The elapsed time is an unsigned 32-bit difference and must exceed PlayerWait * 1000 ms.
TEST_F(PlayerRun, TickResumesOnlyWhenMoreThanTheWaitHasPassed) {
    struct Row {
        unsigned wait, stampAt, tickAt;
        bool resumes;
    };
    const Row rows[] = {
        {5, 1000, 6000, false},                      // equality is not enough
        {5, 1000, 6001, true},
        {10, 1000, 11000, false},
        {10, 1000, 11001, true},
        {60, 0, 60001, true},
        {5, 0xFFFFF000u, 0xFFFFF000u + 5000u, false},  // the counter wraps in between
        {5, 0xFFFFF000u, 0xFFFFF000u + 5001u, true},
        {5, 0xFFFFFFFFu, 5000u, true},
    };
    StartPlayer();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "wait " << row.wait << " stamp " << row.stampAt << " tick " << row.tickAt);
        PLUGINCFG cfg = testrun::DefaultSettings();
        cfg.PlayerWait = row.wait;
        Configure(cfg);
        player->Clear();
        Init(&module);
        Frame(row.stampAt);
        Tick(row.tickAt);
        if (row.resumes) {
            EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume}));
            ExpectState(0, 1);
        } else {
            EXPECT_EQ(Received(), std::vector<UINT>({kPause}));
            ExpectState(1, 0);
        }
        Quit(&module);
    }
}

TEST_F(PlayerRun, EveryStampRestartsTheWaitAndIdleTicksDoNothing) {
    StartPlayer();
    Init(&module);
    Frame(1000);
    Tick(5000);
    Frame(5500);
    Tick(6001);  // more than 5 s after the first frame, not after the latest
    EXPECT_EQ(Received(), std::vector<UINT>({kPause}));
    Tick(10501);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume}));
    Tick(50000);
    Tick(90000);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume}));
    Frame(90100);
    Frame(90150);
    Tick(90200);  // frames came back: pause without looking at the time
    Tick(90300);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume, kPause}));
    Tick(95151);  // and the wait starts over from the latest frame
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume, kPause, kResume}));
}

TEST_F(PlayerRun, QuitThenInitGivesResumeThenPauseFromAFreshState) {
    StartPlayer();
    Init(&module);
    Frame(1000);
    Tick(7000);
    Frame(7100);
    ExpectState(1, 1);
    Quit(&module);
    ExpectState(1, 1);  // Quit leaves the flags alone
    Init(&module);
    ExpectState(0, 0);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume, kResume, kPause}));
}

TEST_F(PlayerRun, WithoutPlayerWindowNothingIsPostedAndTheStateRunsOn) {
    Init(&module);
    Frame(1000);
    Tick(6001);
    ExpectState(0, 1);  // resumed as if the player had been told

    StartPlayer();  // the player starts late: it hears only what comes next
    Frame(6100);
    Tick(6200);
    ExpectState(1, 0);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause}));
    Quit(&module);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume}));
}

TEST_F(PlayerRun, PlayerDisabledLeavesThePlayerAlone) {
    PLUGINCFG cfg = testrun::DefaultSettings();
    cfg.PlayerEnable = 0;
    Configure(cfg);
    StartPlayer();
    g_Player.renderSeen = 0;
    g_Player.playerResumed = 0;
    g_Player.lastRenderTick = 0x12345678u;
    g_Player.timer = 0;

    Init(&module);
    EXPECT_EQ(g_Player.timer, 0u);
    Frame(1000);
    EXPECT_EQ(g_Player.lastRenderTick, 0x12345678u);
    EXPECT_EQ(g_Player.renderSeen, 0);
    EXPECT_EQ(haloseq::PumpFor(1500), 0) << "a timer runs";
    Quit(&module);
    EXPECT_TRUE(Received().empty());
}

// Neither the stamp nor the tick waits for a busy lock: each gives up, is counted, and the
// state stays as it was.
TEST_F(PlayerRun, BusyRenderLockSkipsTheTickAndTheStamp) {
    StartPlayer();
    Init(&module);
    Frame(1000);
    const unsigned before = g_RenderLock.Contention();
    {
        testrun::LockHolder<CCS> holder(g_RenderLock);
        ASSERT_TRUE(holder.IsHolding());
        Tick(20000);
        Frame(20000);
        EXPECT_EQ(g_RenderLock.Contention(), before + 2);
    }
    ExpectState(1, 0);
    EXPECT_EQ(g_Player.lastRenderTick, 1000u);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause}));
    Tick(20001);
    EXPECT_EQ(Received(), std::vector<UINT>({kPause, kResume}));
}

}  // namespace
