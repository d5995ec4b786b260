#pragma once
// A named lock: a critical section with a state word, a name for diagnosis and a count of
// failed attempts. It is only ever tried or spun on, never waited for in the blocking entry.
#include <windows.h>

class CCS {
public:
    enum State : int { kNone = 0, kCreated = 1, kHeld = 2, kTrying = 3, kReleased = 4 };
    static constexpr int kNameSize = 260;

    CCS();
    ~CCS();
    CCS(const CCS&) = delete;
    CCS& operator=(const CCS&) = delete;

    void Create(const char* name = "NONAME");
    bool TryEnter();
    void Enter();
    void Leave();
    void Destroy();

    bool IsCreated() const { return state != kNone; }
    const char* Name() const { return name; }
    int GetState() const { return state; }
    unsigned Contention() const { return contention; }

private:
    bool Attempt();

    CRITICAL_SECTION section;
    char name[kNameSize];
    volatile int state;
    volatile unsigned contention;
};
