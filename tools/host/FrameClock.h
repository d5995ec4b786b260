#pragma once
// The host's clock for pacing frames, and waiting on it while the thread's messages are
// dispatched: the plug-in's thread timer and any window it owns run on this thread.
#include <windows.h>

#include <cstdint>

class FrameClock {
public:
    FrameClock();
    // Milliseconds since the clock was made.
    uint64_t ElapsedMs() const;
    // Dispatches messages until ElapsedMs() reaches `ms` (at once when it already has).
    void WaitUntil(uint64_t ms) const;

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

// Dispatches every message that is waiting for this thread, without waiting for more.
void PumpMessages();
