#include "tools/host/VisThread.h"

#include "tools/host/VisPlugin.h"

namespace {

double MillisecondsSince(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

VisThread::VisThread(const VisRunOptions& options, FrameSource& source) : options_(options), source_(source) {}

VisThread::~VisThread() {
    if (!thread_) return;
    RequestStop();
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

bool VisThread::Start() {
    if (thread_) return false;
    thread_ = CreateThread(nullptr, 0, &VisThread::Main, this, 0, &threadId_);
    return thread_ != nullptr;
}

bool VisThread::Wait(DWORD timeoutMs) { return thread_ && WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0; }

DWORD WINAPI VisThread::Main(void* self) {
    static_cast<VisThread*>(self)->Run();
    return 0;
}

void VisThread::Run() {
    VisPlugin plugin;  // loaded on this thread, freed on this thread when the run is over
    if (!plugin.Load(options_.plugin, options_.mainWindow, result_.error)) return;
    winampVisModule* module = plugin.Prepare(options_.module, options_.mainWindow, result_.error);
    if (!module) return;
    source_.Starting(*module);
    result_.initResult = module->Init(module);
    // A module whose Init fails is neither rendered nor quit.
    if (result_.initResult != 0) return;
    Loop(*module);
    if (options_.quitAtEnd) module->Quit(module);
}

void VisThread::Loop(winampVisModule& module) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    // A module asking for no delay still leaves the processor to others between frames.
    const DWORD delayMs = options_.fullSpeed ? 0 : static_cast<DWORD>(module.delayMs > 0 ? module.delayMs : 1);
    while (!stop_) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        if (source_.Paused()) {
            Sleep(delayMs ? delayMs : 1);
            continue;
        }
        if (!source_.NextFrame(module)) break;
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        module.Render(&module);
        const double took = MillisecondsSince(start, frequency);
        if (took > result_.longestRenderMs) result_.longestRenderMs = took;
        ++result_.frames;
        source_.Rendered();
        if (delayMs) Sleep(delayMs);
    }
}
