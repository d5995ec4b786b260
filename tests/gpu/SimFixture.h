#pragma once
// Test helpers around the simulated driver: a fixture that starts every test on an empty
// machine, and the call log (tests/common/DriverLog.h) under the names these tests use.
#include <gtest/gtest.h>

#include <vector>

#include "gpu/NvApi.h"
#include "tests/common/DriverLog.h"
#include "tools/nvapi_sim/NvapiSim.h"

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { NvSim_Reset(); }
    void TearDown() override { NvSim_Reset(); }
};

inline std::vector<NvSimCall> SimCalls() { return DriverCalls(); }
inline std::vector<NvSimCall> SimCallsOf(uint32_t id) { return DriverCallsOf(id); }

inline int AddDisplayOf(std::initializer_list<int> gpus) {
    std::vector<int> ids(gpus);
    return NvSim_AddDisplay(ids.data(), static_cast<int>(ids.size()));
}
