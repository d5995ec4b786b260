#pragma once
// Coordination with the HALOSEQ light-show player: pause it while music renders, let it
// resume once no frame has come for PlayerWait seconds.
#include <windows.h>

#include <cstdint>

constexpr unsigned kPlayerPauseMessage = 32772;   // WM_APP + 4
constexpr unsigned kPlayerResumeMessage = 32771;  // WM_APP + 3
constexpr const char* kPlayerWindowClass = "HALOSEQ_CLASS";
constexpr unsigned kPlayerTimerPeriodMs = 1000;
constexpr UINT_PTR kPlayerTimerId = 1;

// The coordination state. The stamp and the tick touch the two flags and the tick only while
// they hold the render lock; PlayerStart sets the flags before the timer runs.
//
// The one-second timer belongs to a message-only window that PlayerStart makes on the run's
// thread, so the tick runs on that thread as it dispatches its messages, like a thread timer.
// Unlike a thread timer it can be stopped from any thread (the host may end a run, or unload
// the plug-in, elsewhere), and the window is of a system class: no code of this DLL is its
// window procedure, so it is harmless should it outlive the DLL until its own thread ends it.
struct PlayerState {
    volatile int32_t renderSeen;         // 1 once a frame was stamped; cleared at start and on resume
    volatile int32_t playerResumed;      // 1 after the resume request went out for idleness
    volatile uint32_t lastRenderTick;    // millisecond count of the latest stamp
    uintptr_t timer;                     // the timer's id, 0 while none runs
    HWND timerWindow;                    // the window that owns the timer, null while none runs
    bool started;                        // between PlayerStart and PlayerStop
};

extern PlayerState g_Player;

void PlayerStart();  // Init: pause request, flags cleared, one-second timer started
void PlayerStop();   // Quit: timer stopped, resume request; the flags stay as they are
bool PlayerStarted();  // true between a PlayerStart and the PlayerStop that ends it
void PlayerStamp();  // end of each frame: note that a frame was rendered, and when
void PlayerTick();   // the timer's work on each tick: resume after the wait, pause on return
