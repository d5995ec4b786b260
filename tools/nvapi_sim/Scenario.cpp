#include "tools/nvapi_sim/Scenario.h"

namespace nvsim {

namespace {
// Handles carry a tag in their upper bits so that a display handle is never taken for a
// GPU handle, and the index + 1 below it so that no handle is null.
constexpr uint64_t kDisplayTag = 0xD15A0000u;
constexpr uint64_t kGpuTag = 0x6B0F0000u;
constexpr uint64_t kIndexMask = 0x0000FFFFu;

int IndexFromHandle(uint64_t handle, uint64_t tag, int count) {
    if ((handle & ~kIndexMask) != tag) return -1;
    int index = static_cast<int>(handle & kIndexMask) - 1;
    return (index >= 0 && index < count) ? index : -1;
}
}  // namespace

void CopyText(char* dst, int size, const char* src) {
    if (size <= 0) return;
    int i = 0;
    if (src) {
        for (; i < size - 1 && src[i]; ++i) dst[i] = src[i];
    }
    dst[i] = '\0';
}

void Scenario::Clear() {
    gpuCount_ = 0;
    displayCount_ = 0;
    overrideCount_ = 0;
}

void Scenario::SetDefault() {
    Clear();
    const char* name = "NVIDIA GeForce GTX 1080 (simulated)";
    int gpu = AddGpu(name, name, 41130, true, true);
    AddDisplay(&gpu, 1);
}

int Scenario::AddGpu(const char* fullName, const char* adapterText, uint32_t driverVersion, bool hasLogo,
                     bool hasSli) {
    if (gpuCount_ >= kMaxGpus) return -1;
    SimGpu& gpu = gpus_[gpuCount_];
    CopyText(gpu.fullName, kTextSize, fullName);
    CopyText(gpu.adapterText, kTextSize, adapterText);
    gpu.driverVersion = driverVersion;
    gpu.hasLight[0] = hasLogo;
    gpu.hasLight[1] = hasSli;
    gpu.brightness[0] = gpu.brightness[1] = -1;
    gpu.zoneCount = 0;
    return gpuCount_++;
}

int Scenario::AddZone(int gpuId, uint32_t type, uint32_t mode, const uint8_t* data, int size) {
    SimGpu* gpu = Gpu(gpuId);
    if (!gpu || gpu->zoneCount >= kMaxZones || type < NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB ||
        type > NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR || mode > NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR)
        return -1;
    SimZone& zone = gpu->zones[gpu->zoneCount];
    zone = SimZone{type, mode, {}};
    for (int i = 0; data && i < size && i < kZoneDataSize; ++i) zone.data[i] = data[i];
    return gpu->zoneCount++;
}

int Scenario::AddDisplay(const int* gpuIds, int gpuCount) {
    if (displayCount_ >= kMaxDisplays) return -1;
    SimDisplay& display = displays_[displayCount_];
    display.gpuCount = 0;
    for (int i = 0; gpuIds && i < gpuCount && display.gpuCount < kMaxGpusPerDisplay; ++i) {
        // A display can only reach GPUs that exist; other ids are dropped.
        if (gpuIds[i] >= 0 && gpuIds[i] < gpuCount_) display.gpuIds[display.gpuCount++] = gpuIds[i];
    }
    return displayCount_++;
}

CallOverride* Scenario::FindOverride(uint32_t id, bool create) {
    for (int i = 0; i < overrideCount_; ++i)
        if (overrides_[i].id == id) return &overrides_[i];
    if (!create || overrideCount_ >= kMaxOverrides) return nullptr;
    overrides_[overrideCount_] = CallOverride{id, 0, false};
    return &overrides_[overrideCount_++];
}

const CallOverride* Scenario::FindOverride(uint32_t id) const {
    for (int i = 0; i < overrideCount_; ++i)
        if (overrides_[i].id == id) return &overrides_[i];
    return nullptr;
}

void Scenario::SetForcedStatus(uint32_t id, int32_t status) {
    if (CallOverride* entry = FindOverride(id, true)) entry->status = status;
}

void Scenario::SetHidden(uint32_t id, bool hidden) {
    if (CallOverride* entry = FindOverride(id, true)) entry->hidden = hidden;
}

int32_t Scenario::ForcedStatus(uint32_t id) const {
    const CallOverride* entry = FindOverride(id);
    return entry ? entry->status : 0;
}

bool Scenario::IsHidden(uint32_t id) const {
    const CallOverride* entry = FindOverride(id);
    return entry && entry->hidden;
}

const SimDisplay* Scenario::Display(int index) const {
    return (index >= 0 && index < displayCount_) ? &displays_[index] : nullptr;
}

SimGpu* Scenario::Gpu(int id) { return (id >= 0 && id < gpuCount_) ? &gpus_[id] : nullptr; }

uint64_t Scenario::DisplayHandle(int index) { return kDisplayTag | static_cast<uint64_t>(index + 1); }
uint64_t Scenario::GpuHandle(int id) { return kGpuTag | static_cast<uint64_t>(id + 1); }

int Scenario::DisplayFromHandle(uint64_t handle) const {
    return IndexFromHandle(handle, kDisplayTag, displayCount_);
}

int Scenario::GpuFromHandle(uint64_t handle) const { return IndexFromHandle(handle, kGpuTag, gpuCount_); }

bool Scenario::FirstDisplayOf(int gpuId, unsigned& display, unsigned& gpuIndex) const {
    for (int d = 0; d < displayCount_; ++d) {
        for (int g = 0; g < displays_[d].gpuCount; ++g) {
            if (displays_[d].gpuIds[g] == gpuId) {
                display = static_cast<unsigned>(d);
                gpuIndex = static_cast<unsigned>(g);
                return true;
            }
        }
    }
    return false;
}

}  // namespace nvsim
