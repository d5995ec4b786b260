#pragma once
// A stand-in for the HALOSEQ player: a real top-level window of class "HALOSEQ_CLASS", run by
// a thread of its own that pumps its messages and records every application message it gets
// with both parameters and the tick at which it arrived.
#include <windows.h>

#include <vector>

namespace haloseq {

class PlayerWindow {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        DWORD arrivedAt;  // GetTickCount when the window handled it
    };

    PlayerWindow() {
        InitializeCriticalSection(&guard);
        ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, &PlayerWindow::ThreadMain, this, 0, nullptr);
        if (thread) WaitForSingleObject(ready, 5000);
    }

    ~PlayerWindow() {
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        if (thread) {
            WaitForSingleObject(thread, 5000);
            CloseHandle(thread);
        }
        CloseHandle(ready);
        DeleteCriticalSection(&guard);
    }

    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    bool IsUp() const { return window != nullptr; }

    // Waits until the window has handled everything this thread posted to it before the call:
    // a marker posted now arrives after them. False when it does not arrive within 5 s.
    bool Sync() {
        const LONG mark = InterlockedIncrement(&markersPosted);
        PostMessageA(window, kMarker, static_cast<WPARAM>(mark), 0);
        return WaitUntil([&] { return markersSeen >= mark; }, 5000);
    }

    std::vector<Message> Messages() {
        EnterCriticalSection(&guard);
        std::vector<Message> copy = received;
        LeaveCriticalSection(&guard);
        return copy;
    }

    size_t Count() {
        EnterCriticalSection(&guard);
        const size_t count = received.size();
        LeaveCriticalSection(&guard);
        return count;
    }

    // Makes room for `count` messages up front, so a program that measures the process's heap
    // does not see the record itself grow.
    void Reserve(size_t count) {
        EnterCriticalSection(&guard);
        received.reserve(count);
        LeaveCriticalSection(&guard);
    }

    void Clear() {
        EnterCriticalSection(&guard);
        received.clear();
        LeaveCriticalSection(&guard);
    }

    template <typename Done>
    static bool WaitUntil(Done done, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > timeoutMs) return false;
            Sleep(1);
        }
        return true;
    }

private:
    static constexpr UINT kMarker = WM_APP + 0x100;
    // Spelt here, not taken from the plug-in's own constant, so the stand-in checks that the
    // plug-in looks for the player's real class name.
    static constexpr const char* kClassName = "HALOSEQ_CLASS";

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == kMarker) {
            InterlockedExchange(&self->markersSeen, static_cast<LONG>(wParam));
            return 0;
        }
        if (self && message >= WM_USER) {
            EnterCriticalSection(&self->guard);
            self->received.push_back({message, wParam, lParam, GetTickCount()});
            LeaveCriticalSection(&self->guard);
            return 0;
        }
        if (message == WM_CLOSE) {
            DestroyWindow(hwnd);
            return 0;
        }
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    static DWORD WINAPI ThreadMain(void* param) {
        auto* self = static_cast<PlayerWindow*>(param);
        WNDCLASSA cls = {};
        cls.lpfnWndProc = WindowProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = kClassName;
        RegisterClassA(&cls);  // already registered by an earlier window: fine
        HWND hwnd = CreateWindowExA(0, kClassName, "HALOSEQ", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                    nullptr, cls.hInstance, nullptr);
        if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window = hwnd;
        SetEvent(self->ready);
        if (!hwnd) return 1;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return 0;
    }

    CRITICAL_SECTION guard;
    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    HWND volatile window = nullptr;
    volatile LONG markersPosted = 0;
    volatile LONG markersSeen = 0;
    std::vector<Message> received;
};

// Runs the calling thread's message loop for up to `timeoutMs`, so its thread timers fire,
// until `done()` holds. Returns the number of WM_TIMER messages dispatched.
template <typename Done>
int PumpUntil(DWORD timeoutMs, Done done) {
    int timers = 0;
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER) ++timers;
            DispatchMessageA(&msg);
        }
        if (done()) break;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) break;
        const DWORD left = timeoutMs - elapsed;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left < 10 ? left : 10, QS_ALLINPUT);
    }
    return timers;
}

inline int PumpFor(DWORD ms) {
    return PumpUntil(ms, [] { return false; });
}

}  // namespace haloseq
