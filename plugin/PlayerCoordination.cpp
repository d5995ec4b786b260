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

// A message-only window of the calling thread, of the system's "STATIC" class.
HWND CreateTimerWindow() {
    return CreateWindowExA(0, "STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

void StartTimer() {
    g_Player.timerWindow = CreateTimerWindow();
    // Without a window no timer runs: the player is still paused now and resumed at the end.
    g_Player.timer = g_Player.timerWindow
                         ? SetTimer(g_Player.timerWindow, kPlayerTimerId, kPlayerTimerPeriodMs, PlayerTimerProc)
                         : 0;
}

// Stops the timer from whatever thread ends the run. The window's own thread destroys it at
// once; any other thread kills the timer and has the window closed by its thread, whose next
// look at its queue finds the close before any timer message (posted messages come first), so
// the tick can't run again either way.
void StopTimer() {
    HWND window = g_Player.timerWindow;
    if (!window) return;
    KillTimer(window, g_Player.timer);
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        DestroyWindow(window);
    else
        PostMessageA(window, WM_CLOSE, 0, 0);
    g_Player.timerWindow = nullptr;
    g_Player.timer = 0;
}

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
    StopTimer();
    StartTimer();
    g_Player.started = true;
}

void PlayerStop() {
    StopTimer();
    g_Player.started = false;
    PostToPlayer(kPlayerResumeMessage);
}

bool PlayerStarted() { return g_Player.started; }

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
