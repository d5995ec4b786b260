#include "tools/host/FrameClock.h"

FrameClock::FrameClock() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
}

uint64_t FrameClock::ElapsedMs() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart - start_.QuadPart) * 1000 / static_cast<uint64_t>(frequency_.QuadPart);
}

void FrameClock::WaitUntil(uint64_t ms) const {
    for (;;) {
        PumpMessages();
        const uint64_t now = ElapsedMs();
        if (now >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms - now), QS_ALLINPUT);
    }
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
