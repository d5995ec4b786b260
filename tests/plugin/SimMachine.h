#pragma once
// The simulated driver as the plug-in tests use it: a machine with one display that reaches
// eight GPUs ("Sim GPU 0" .. "Sim GPU 7", each with both lights except GPU 7, which has no
// SLI bridge light), and the brightness values that reached the driver, in order (read from
// the call log, tests/common/DriverLog.h).
#include <cstdio>
#include <vector>

#include "gpu/NvApi.h"
#include "tests/common/DriverLog.h"
#include "tools/nvapi_sim/NvapiSim.h"

namespace testrun {

struct SetCall {
    int gpu;        // the simulated GPU the call addressed (-1: a handle the driver never gave)
    int attribute;
    unsigned value;
    bool operator==(const SetCall& other) const {
        return gpu == other.gpu && attribute == other.attribute && value == other.value;
    }
};

inline void EightGpuMachine() {
    NvSim_Reset();
    int ids[8];
    for (int i = 0; i < 8; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "Sim GPU %d", i);
        ids[i] = NvSim_AddGpu(name, name, 920, 1, i == 7 ? 0 : 1);
    }
    NvSim_AddDisplay(ids, 8);
}

// The simulated GPU that a call addressed (-1: a handle the driver never gave out).
inline int GpuOf(const NvSimCall& call) {
    for (int i = 0; i < 8; ++i)
        if (NvSim_GpuHandle(i) == call.handle) return i;
    return -1;
}

// The brightness sets that reached the driver, in order.
inline std::vector<SetCall> SetCalls() {
    std::vector<SetCall> sets;
    for (const NvSimCall& call : DriverCalls()) {
        if (call.id != kNvId_GPU_SetIllumination) continue;
        sets.push_back({GpuOf(call), call.attribute, call.value});
    }
    return sets;
}

}  // namespace testrun
