#include "plugin/PlayerClock.h"

#include <windows.h>

#include <atomic>

namespace {

unsigned SystemTicks() { return static_cast<unsigned>(GetTickCount()); }

// Read by the render thread's stamp and by the timer's thread; replaced only by tests.
std::atomic<PlayerClockFn> g_Clock{SystemTicks};

}  // namespace

unsigned PlayerClockNow() { return g_Clock.load(std::memory_order_relaxed)(); }

PlayerClockFn SetPlayerClock(PlayerClockFn clock) {
    return g_Clock.exchange(clock ? clock : SystemTicks, std::memory_order_relaxed);
}
