#pragma once
// One visualization run's life cycle: the Config, Init and Quit entries that all three
// modules share, the frame that takes what Config handed over, and the unload that ends a run
// the host never quit.
#include "sdk/WinampVis.h"

// Runs the settings dialog modally and hands its result to the run (see RunControl.h).
void Config(winampVisModule* module);
// Starts a run on the calling thread; returns 0 in every case.
int Init(winampVisModule* module);
// Ends the run.
void Quit(winampVisModule* module);

// Called by Render on the run's thread before the frame: runs the restart or takes the
// settings that Config left (nothing when its guard is busy; the next frame tries again).
void TakeHandover();

// Called when the DLL is unloaded: a run still active (the host freed the DLL without Quit)
// ends here, so its timer can't call into the unloaded code, the zones get the user's
// lighting back and the player resumes. When the process ends, the driver is not called.
void EndRunAtUnload(bool processEnds);
