#pragma once
// The millisecond clock that player coordination reads. It is GetTickCount unless a test
// puts a clock of its own in place, so that waits and the counter's wrap-around can be
// checked without sleeping.

using PlayerClockFn = unsigned (*)();

// The current millisecond count, 32-bit, wrapping like GetTickCount.
unsigned PlayerClockNow();

// Puts `clock` in place (null restores GetTickCount) and returns the clock it replaced.
PlayerClockFn SetPlayerClock(PlayerClockFn clock);
