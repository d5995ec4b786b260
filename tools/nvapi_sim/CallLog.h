#pragma once
// The record of calls that reached the simulated driver, oldest first. A fixed ring: once
// full, each new call overwrites the oldest, so recording never allocates and stays bounded
// however long a program runs. Not locked itself; SimDriver guards it.
#include "tools/nvapi_sim/NvapiSim.h"

namespace nvsim {

class CallLog {
public:
    static constexpr int kCapacity = 1 << 16;

    void Add(const NvSimCall& call);
    void Clear();
    int Count() const { return count_; }
    // Call `index` counted from the oldest one kept; false when there is none.
    bool Get(int index, NvSimCall& out) const;

private:
    NvSimCall calls_[kCapacity] = {};
    int next_ = 0;   // where the next call goes
    int count_ = 0;  // calls kept, at most kCapacity
};

}  // namespace nvsim
