#pragma once
// Test helpers around the simulated driver: a fixture that starts every test on an empty
// machine, and the call log as a vector.
#include <gtest/gtest.h>

#include <vector>

#include "gpu/NvApi.h"
#include "tools/nvapi_sim/NvapiSim.h"

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { NvSim_Reset(); }
    void TearDown() override { NvSim_Reset(); }
};

inline std::vector<NvSimCall> SimCalls() {
    std::vector<NvSimCall> calls(static_cast<size_t>(NvSim_CallCount()));
    for (size_t i = 0; i < calls.size(); ++i) NvSim_GetCall(static_cast<int>(i), &calls[i]);
    return calls;
}

inline std::vector<NvSimCall> SimCallsOf(uint32_t id) {
    std::vector<NvSimCall> found;
    for (const NvSimCall& call : SimCalls())
        if (call.id == id) found.push_back(call);
    return found;
}

inline int AddDisplayOf(std::initializer_list<int> gpus) {
    std::vector<int> ids(gpus);
    return NvSim_AddDisplay(ids.data(), static_cast<int>(ids.size()));
}
