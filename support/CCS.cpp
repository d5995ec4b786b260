#include "support/CCS.h"

#include <cstring>

CCS::CCS() : state(kNone), contention(0) {
    std::memset(&section, 0, sizeof(section));
    std::memset(name, 0, sizeof(name));
}

CCS::~CCS() { Destroy(); }

void CCS::Create(const char* newName) {
    if (state != kNone) return;
    InitializeCriticalSection(&section);
    state = kCreated;
    std::memset(name, 0, sizeof(name));
    if (newName) {
        // Bounded copy: a name that does not fit is cut, the terminator always stays.
        size_t length = std::strlen(newName);
        if (length >= sizeof(name)) length = sizeof(name) - 1;
        std::memcpy(name, newName, length);
    }
}

bool CCS::Attempt() {
    state = kTrying;
    if (TryEnterCriticalSection(&section)) {
        state = kHeld;
        return true;
    }
    contention = contention + 1;
    return false;
}

bool CCS::TryEnter() {
    if (state == kNone) return false;
    return Attempt();
}

void CCS::Enter() {
    // Spins on attempts; a lock that was never created is not entered at all.
    while (state != kNone) {
        if (Attempt()) return;
    }
}

void CCS::Leave() {
    if (state == kNone) return;
    LeaveCriticalSection(&section);
    state = kReleased;
}

void CCS::Destroy() {
    if (state == kNone) return;
    DeleteCriticalSection(&section);
    state = kNone;
    std::memset(name, 0, sizeof(name));
    contention = 0;
}
