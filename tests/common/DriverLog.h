#pragma once
// The simulated driver's call log as tests read it: every call that reached the driver, in
// order.
#include <cstdint>
#include <vector>

#include "tools/nvapi_sim/NvapiSim.h"

inline std::vector<NvSimCall> DriverCalls() {
    std::vector<NvSimCall> calls(static_cast<size_t>(NvSim_CallCount()));
    for (size_t i = 0; i < calls.size(); ++i) NvSim_GetCall(static_cast<int>(i), &calls[i]);
    return calls;
}

inline std::vector<NvSimCall> DriverCallsOf(uint32_t id) {
    std::vector<NvSimCall> found;
    for (const NvSimCall& call : DriverCalls())
        if (call.id == id) found.push_back(call);
    return found;
}

inline int CountDriverCalls(uint32_t id) { return static_cast<int>(DriverCallsOf(id).size()); }
