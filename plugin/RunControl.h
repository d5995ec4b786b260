#pragma once
// Which thread runs the visualization, and the settings that Config hands over to it.
//
// A run lives on the thread that called Init: that thread alone writes the live settings
// during the run, opens and sets the lights and owns the player timer. Config comes from the
// host's UI thread (Winamp's Preferences page loads the DLL a second time, calls Config and
// frees the DLL again at once), so it never starts, restarts or ends a run itself. With no run
// active it updates the live settings and starts nothing; with a run active it leaves the new
// settings here, and the run's own thread takes them before its next frame.
//
// The guard is held only for short copies and for Init's and Quit's own steps. Render never
// waits for it: it only tries it, and a busy guard leaves the hand-over to the next frame.
#include <windows.h>

#include <atomic>

#include "settings/PluginCfg.h"

// What Config left for the run.
enum class Handover : int {
    kNone = 0,
    kSettings = 1,  // the settings reloaded by a cancelled dialog: the run goes on with them
    kRestart = 2,   // the settings of an applied dialog: the run restarts with them
};

class RunControl {
public:
    RunControl();
    ~RunControl();
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    void Lock();
    bool TryLock();
    void Unlock();

    // The rest is called with the guard held, but for HasPending.
    void Begin(DWORD thread);  // a run starts on `thread`
    void End();                // the run ended; nothing is left pending
    bool IsActive() const { return active_; }
    DWORD Thread() const { return thread_; }

    // Leaves `settings` for the run. A restart already waiting stays a restart, with the
    // newer settings.
    void Post(Handover kind, const PLUGINCFG& settings);
    // What is waiting, with its settings copied into `settings`; nothing waits afterwards.
    Handover Take(PLUGINCFG& settings);
    // The settings waiting for the run, or null: the newest settings the user has seen.
    const PLUGINCFG* Pending() const;
    // Whether anything waits, read without the guard (Render's quick look).
    bool HasPending() const { return pending_.load(std::memory_order_acquire) != Handover::kNone; }

private:
    CRITICAL_SECTION guard_;
    bool active_ = false;
    DWORD thread_ = 0;
    std::atomic<Handover> pending_{Handover::kNone};
    PLUGINCFG settings_ = {};
};

// The process's one run control.
extern RunControl g_Run;

// Holds the run control's guard for its scope; Release and Acquire step out and back in.
class RunLock {
public:
    RunLock() { Acquire(); }
    ~RunLock() { Release(); }
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    void Acquire() {
        if (!held_) g_Run.Lock();
        held_ = true;
    }
    void Release() {
        if (held_) g_Run.Unlock();
        held_ = false;
    }

private:
    bool held_ = false;
};
