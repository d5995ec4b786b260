#pragma once
// Coordination with the HALOSEQ light-show player: pause it while music renders, let it
// resume once no frame has come for PlayerWait seconds.
#include <cstdint>

constexpr unsigned kPlayerPauseMessage = 32772;   // WM_APP + 4
constexpr unsigned kPlayerResumeMessage = 32771;  // WM_APP + 3
constexpr const char* kPlayerWindowClass = "HALOSEQ_CLASS";
constexpr unsigned kPlayerTimerPeriodMs = 1000;

// The coordination state. The stamp and the tick touch the two flags and the tick only while
// they hold the render lock; PlayerStart sets the flags before the timer runs.
struct PlayerState {
    volatile int32_t renderSeen;         // 1 once a frame was stamped; cleared at start and on resume
    volatile int32_t playerResumed;      // 1 after the resume request went out for idleness
    volatile uint32_t lastRenderTick;    // millisecond count of the latest stamp
    uintptr_t timer;                     // thread timer of the thread that ran PlayerStart
};

extern PlayerState g_Player;

void PlayerStart();  // Init: pause request, flags cleared, one-second timer started
void PlayerStop();   // Quit: timer killed, resume request; the flags stay as they are
void PlayerStamp();  // end of each frame: note that a frame was rendered, and when
void PlayerTick();   // the timer's work on each tick: resume after the wait, pause on return
