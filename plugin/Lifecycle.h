#pragma once
// The parts of a run's life cycle that the entries' neighbours call: the frame that takes
// what Config handed over, and the unload that ends a run the host never quit.

// Called by Render on the run's thread before the frame: runs the restart or takes the
// settings that Config left (nothing when its guard is busy; the next frame tries again).
void TakeHandover();

// Called when the DLL is unloaded: a run still active (the host freed the DLL without Quit)
// ends here, so its timer can't call into the unloaded code and the player resumes.
void EndRunAtUnload();
