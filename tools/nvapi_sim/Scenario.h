#pragma once
// What the simulated driver pretends the machine holds: GPUs with their texts, driver
// version and lights, displays that reach some of those GPUs, and per-operation overrides
// (a forced status, or an operation the driver does not offer). Plain data, no locking:
// SimDriver guards it.
#include <cstdint>

#include "gpu/NvApi.h"

namespace nvsim {

constexpr int kMaxGpus = 64;
constexpr int kMaxDisplays = 16;
constexpr int kMaxGpusPerDisplay = 64;
constexpr int kMaxOverrides = 16;
constexpr int kTextSize = 64;
constexpr int kLights = 2;  // 0 board logo, 1 SLI bridge
constexpr int kMaxZones = NV_GPU_CLIENT_ILLUM_ZONE_NUM_ZONES_MAX;
constexpr int kZoneDataSize = static_cast<int>(sizeof(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1::data));

// One illumination zone: its type and control mode, and its data as a control record holds
// it (the colour, with the brightness, at the places its type gives).
struct SimZone {
    uint32_t type;
    uint32_t mode;
    uint8_t data[kZoneDataSize];
};

struct SimGpu {
    char fullName[kTextSize];
    char adapterText[kTextSize];
    uint32_t driverVersion;
    bool hasLight[kLights];
    int brightness[kLights];  // -1 until the light is first set
    int zoneCount;
    SimZone zones[kMaxZones];
};

struct SimDisplay {
    int gpuIds[kMaxGpusPerDisplay];
    int gpuCount;
};

struct CallOverride {
    uint32_t id;
    int32_t status;  // forced status; 0 = none
    bool hidden;     // nvapi_QueryInterface answers null for the id
};

class Scenario {
public:
    // No displays, no GPUs, no overrides.
    void Clear();
    // The machine a test or demo gets when it sets nothing up: one display, one GPU with
    // both lights.
    void SetDefault();

    int AddGpu(const char* fullName, const char* adapterText, uint32_t driverVersion, bool hasLogo, bool hasSli);
    int AddDisplay(const int* gpuIds, int gpuCount);
    // A zone of a GPU with the first `size` bytes of its data; its index, -1 when the GPU is
    // unknown, is full, or the zone's type or mode is none the driver has.
    int AddZone(int gpuId, uint32_t type, uint32_t mode, const uint8_t* data, int size);

    void SetForcedStatus(uint32_t id, int32_t status);
    void SetHidden(uint32_t id, bool hidden);
    int32_t ForcedStatus(uint32_t id) const;
    bool IsHidden(uint32_t id) const;

    int DisplayCount() const { return displayCount_; }
    const SimDisplay* Display(int index) const;
    SimGpu* Gpu(int id);

    // Opaque handles as the driver hands them out, and back. A handle of another scenario
    // (an id beyond the present counts) maps to -1, as does anything not made here.
    static uint64_t DisplayHandle(int index);
    static uint64_t GpuHandle(int id);
    int DisplayFromHandle(uint64_t handle) const;
    int GpuFromHandle(uint64_t handle) const;

    // The first display that reaches the GPU, and the GPU's index on it; false if none does.
    bool FirstDisplayOf(int gpuId, unsigned& display, unsigned& gpuIndex) const;

private:
    CallOverride* FindOverride(uint32_t id, bool create);
    const CallOverride* FindOverride(uint32_t id) const;

    SimGpu gpus_[kMaxGpus];
    int gpuCount_ = 0;
    SimDisplay displays_[kMaxDisplays];
    int displayCount_ = 0;
    CallOverride overrides_[kMaxOverrides];
    int overrideCount_ = 0;
};

// Copies at most size - 1 characters and always terminates; a null source gives "".
void CopyText(char* dst, int size, const char* src);

}  // namespace nvsim
