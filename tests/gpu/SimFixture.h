#pragma once
// Test helpers around the simulated driver: a fixture that starts every test on an empty
// machine, a display that reaches the GPUs given, and boards with illumination zones. The call
// log is tests/common/DriverLog.h.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
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

// One illumination zone of a board: its type, its control mode and the bytes of its colour
// (the brightness among them, where the type keeps it).
struct ZoneSpec {
    uint32_t type;
    uint32_t mode;
    std::vector<uint8_t> colour;
};

// A GPU named `name` (its adapter too) with these zones, the logo light if `logo`, and no SLI
// bridge light; no display reaches it yet.
inline int AddZoneBoard(const char* name, const std::vector<ZoneSpec>& zones, bool logo = false) {
    const int gpu = NvSim_AddGpu(name, name, 920, logo ? 1 : 0, 0);
    for (const ZoneSpec& z : zones)
        NvSim_AddZone(gpu, z.type, z.mode, z.colour.data(), static_cast<int>(z.colour.size()));
    return gpu;
}

// The zones of a GPU as the driver holds them now.
inline std::vector<NvSimZone> ZonesOf(int gpu) {
    std::vector<NvSimZone> zones;
    NvSimZone zone;
    for (int i = 0; NvSim_GetZone(gpu, i, &zone); ++i) zones.push_back(zone);
    return zones;
}
