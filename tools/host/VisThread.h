#pragma once
// Winamp's visualization thread: one run of a plug-in's module on a thread of its own. The
// thread loads the DLL itself, starts the module with Init and then, until the run ends,
// either dispatches one waiting message or renders one frame and sleeps the module's delay;
// last it calls Quit and frees the DLL, on the same thread. Other threads of the host (its UI
// thread, which opens the settings) load and free the DLL on their own.
#include <windows.h>

#include <string>

#include "sdk/WinampVis.h"

// Where the frames of a run come from.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    // The module is loaded and about to start: the source sets sRate and nCh.
    virtual void Starting(winampVisModule& module) = 0;
    // While playback is paused no frame is rendered: the thread only sleeps (and dispatches).
    virtual bool Paused() { return false; }
    // Fills the waveform rows of the next frame; false ends the run instead.
    virtual bool NextFrame(winampVisModule& module) = 0;
    // One frame was rendered.
    virtual void Rendered() {}
};

struct VisRunOptions {
    std::string plugin;           // the DLL's path
    int module = 0;               // index of the module to run
    HWND mainWindow = nullptr;    // the host's main window: hwndParent, and the header's argument
    bool fullSpeed = false;       // no sleep between frames
    bool quitAtEnd = true;        // false: the DLL is freed without Quit, as a faulty host would
};

struct VisRunResult {
    std::string error;            // why the plug-in or its module could not be had
    int initResult = 0;           // what Init returned; anything but 0 means the module did not start
    long long frames = 0;         // Render calls made
    double longestRenderMs = 0;   // the longest single Render
};

class VisThread {
public:
    VisThread(const VisRunOptions& options, FrameSource& source);
    ~VisThread();  // asks the run to stop and waits for its thread
    VisThread(const VisThread&) = delete;
    VisThread& operator=(const VisThread&) = delete;

    bool Start();
    // The run ends at its next turn (the user stopped the visualization).
    void RequestStop() { InterlockedExchange(&stop_, 1); }
    // True once the thread has ended (Quit called and the DLL freed).
    bool Wait(DWORD timeoutMs);
    HANDLE Handle() const { return thread_; }
    DWORD ThreadId() const { return threadId_; }
    // Valid once Wait returned true.
    const VisRunResult& Result() const { return result_; }

private:
    static DWORD WINAPI Main(void* self);
    void Run();
    void Loop(winampVisModule& module);

    VisRunOptions options_;
    FrameSource& source_;
    VisRunResult result_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    volatile LONG stop_ = 0;
};
