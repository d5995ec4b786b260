#include "tools/nvapi_sim/CallLog.h"

namespace nvsim {

void CallLog::Add(const NvSimCall& call) {
    calls_[next_] = call;
    next_ = (next_ + 1) % kCapacity;
    if (count_ < kCapacity) ++count_;
}

void CallLog::Clear() {
    next_ = 0;
    count_ = 0;
}

bool CallLog::Get(int index, NvSimCall& out) const {
    if (index < 0 || index >= count_) return false;
    int oldest = (next_ - count_ + kCapacity) % kCapacity;
    out = calls_[(oldest + index) % kCapacity];
    return true;
}

}  // namespace nvsim
