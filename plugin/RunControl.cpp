#include "plugin/RunControl.h"

RunControl g_Run;

RunControl::RunControl() { InitializeCriticalSection(&guard_); }

RunControl::~RunControl() { DeleteCriticalSection(&guard_); }

void RunControl::Lock() { EnterCriticalSection(&guard_); }

bool RunControl::TryLock() { return TryEnterCriticalSection(&guard_) != 0; }

void RunControl::Unlock() { LeaveCriticalSection(&guard_); }

void RunControl::Begin(DWORD thread) {
    active_ = true;
    thread_ = thread;
}

void RunControl::End() {
    active_ = false;
    thread_ = 0;
    pending_.store(Handover::kNone, std::memory_order_release);
}

void RunControl::Post(Handover kind, const PLUGINCFG& settings) {
    settings_ = settings;
    const Handover waiting = pending_.load(std::memory_order_relaxed);
    pending_.store(waiting == Handover::kRestart ? waiting : kind, std::memory_order_release);
}

Handover RunControl::Take(PLUGINCFG& settings) {
    const Handover kind = pending_.exchange(Handover::kNone, std::memory_order_acq_rel);
    if (kind != Handover::kNone) settings = settings_;
    return kind;
}

const PLUGINCFG* RunControl::Pending() const {
    return pending_.load(std::memory_order_relaxed) != Handover::kNone ? &settings_ : nullptr;
}
