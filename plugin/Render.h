#pragma once
// The per-frame meter, the Render entry that all three modules share.
#include "sdk/WinampVis.h"

// Sets every enabled slot's light from the frame's waveform; returns 0 in every case.
int Render(winampVisModule* module);
