#pragma once
// Test helpers around the simulated driver: a fixture that starts every test on an empty
// machine, and a display that reaches the GPUs given. The call log is tests/common/DriverLog.h.
#include <gtest/gtest.h>

#include <vector>

#include "gpu/NvApi.h"
#include "tools/nvapi_sim/NvapiSim.h"

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { NvSim_Reset(); }
    void TearDown() override { NvSim_Reset(); }
};

inline int AddDisplayOf(std::initializer_list<int> gpus) {
    std::vector<int> ids(gpus);
    return NvSim_AddDisplay(ids.data(), static_cast<int>(ids.size()));
}
