#pragma once
// Holds a lock from a thread of its own, so that the thread under test finds it busy.
#include <windows.h>

namespace testrun {

// Holds a lock from a thread of its own until released (or for 5 s at most), so the
// thread under test finds it busy.
template <typename Lock>
class LockHolder {
public:
    explicit LockHolder(Lock& lock) : lock(lock) {
        held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, &LockHolder::ThreadMain, this, 0, nullptr);
        WaitForSingleObject(held, 5000);
    }
    ~LockHolder() {
        Release();
        CloseHandle(held);
        CloseHandle(release);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool IsHolding() const { return WaitForSingleObject(held, 0) == WAIT_OBJECT_0; }

    void Release() {
        if (!thread) return;
        SetEvent(release);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        thread = nullptr;
    }

private:
    static DWORD WINAPI ThreadMain(void* param) {
        auto* self = static_cast<LockHolder*>(param);
        if (!self->lock.TryEnter()) return 1;
        SetEvent(self->held);
        WaitForSingleObject(self->release, 5000);
        self->lock.Leave();
        return 0;
    }

    Lock& lock;
    HANDLE held = nullptr;
    HANDLE release = nullptr;
    HANDLE thread = nullptr;
};

}  // namespace testrun
