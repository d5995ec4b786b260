// The player timer and its state machine. Neither the stamp nor the tick ever waits for the
// render lock: a busy lock costs that frame's stamp or that tick, nothing more.
#include "plugin/PlayerCoordination.h"

#include "plugin/PlayerClock.h"
#include "plugin/PluginState.h"

PlayerState g_Player = {};

namespace {

// The player is looked up anew for every request; without its window nothing is sent.
void PostToPlayer(unsigned message) {
    HWND player = FindWindowA(kPlayerWindowClass, nullptr);
    if (player) PostMessageA(player, message, 0, 0);
}

void CALLBACK PlayerTimerProc(HWND, UINT, UINT_PTR, DWORD) { PlayerTick(); }

// More than PlayerWait seconds since the last stamp? The difference is taken on unsigned
// 32-bit values so the counter's wrap-around does not matter; the wait is widened so a huge
// setting cannot wrap into a short one.
bool WaitHasPassed(uint32_t now) {
    const uint32_t elapsed = now - g_Player.lastRenderTick;
    const uint64_t wait = static_cast<uint64_t>(g_LiveConfig.PlayerWait) * 1000u;
    return elapsed > wait;
}

}  // namespace

void PlayerStart() {
    PostToPlayer(kPlayerPauseMessage);
    g_Player.playerResumed = 0;
    g_Player.renderSeen = 0;
    // An Init without a Quit before it must not leave the former timer ticking as well.
    if (g_Player.timer) KillTimer(nullptr, g_Player.timer);
    g_Player.timer = SetTimer(nullptr, 0, kPlayerTimerPeriodMs, PlayerTimerProc);
}

void PlayerStop() {
    KillTimer(nullptr, g_Player.timer);
    // A killed timer's id may be handed out again; a later stop must not kill that one.
    g_Player.timer = 0;
    PostToPlayer(kPlayerResumeMessage);
}

void PlayerStamp() {
    if (!g_RenderLock.IsCreated() || !g_RenderLock.TryEnter()) return;
    g_Player.renderSeen = 1;
    g_Player.lastRenderTick = PlayerClockNow();
    g_RenderLock.Leave();
}

void PlayerTick() {
    if (!g_RenderLock.IsCreated() || !g_RenderLock.TryEnter()) return;
    if (g_Player.renderSeen) {
        // The flags change first; the player is looked up afterwards.
        if (g_Player.playerResumed) {
            g_Player.playerResumed = 0;
            PostToPlayer(kPlayerPauseMessage);
        } else if (WaitHasPassed(PlayerClockNow())) {
            g_Player.playerResumed = 1;
            g_Player.renderSeen = 0;
            PostToPlayer(kPlayerResumeMessage);
        }
    }
    g_RenderLock.Leave();
}
