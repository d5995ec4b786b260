// The simulated driver's control functions: scenario set-up, failure injection and the
// call log, for tests, demos and benchmarks.
#include "tools/nvapi_sim/NvapiSim.h"

#include "tools/nvapi_sim/SimDriver.h"
#include "tools/nvapi_sim/StandInMark.h"

// Tells nvapi-sim-install that this library may be replaced or removed from the system folder.
NVSIM_DEFINE_STAND_IN_MARK

using nvsim::Driver;
using nvsim::Scenario;
using nvsim::SimDriver;
using nvsim::SimGpu;

NVSIM_API void NvSim_Reset() {
    SimDriver::Access access(Driver());
    access.Reset();
}

NVSIM_API int NvSim_AddGpu(const char* fullName, const char* adapterText, uint32_t driverVersion, int hasLogo,
                           int hasSli) {
    SimDriver::Access access(Driver());
    return access.scenario().AddGpu(fullName, adapterText, driverVersion, hasLogo != 0, hasSli != 0);
}

NVSIM_API int NvSim_AddDisplay(const int* gpuIds, int gpuCount) {
    SimDriver::Access access(Driver());
    return access.scenario().AddDisplay(gpuIds, gpuCount);
}

NVSIM_API void NvSim_FailCall(uint32_t id, int32_t status) {
    SimDriver::Access access(Driver());
    access.scenario().SetForcedStatus(id, status);
}

NVSIM_API void NvSim_HideCall(uint32_t id, int hidden) {
    SimDriver::Access access(Driver());
    access.scenario().SetHidden(id, hidden != 0);
}

NVSIM_API void NvSim_SetRecording(int on) {
    SimDriver::Access access(Driver());
    access.SetRecording(on != 0);
}

NVSIM_API void NvSim_ClearCalls() {
    SimDriver::Access access(Driver());
    access.log().Clear();
}

NVSIM_API int NvSim_CallCount() {
    SimDriver::Access access(Driver());
    return access.log().Count();
}

NVSIM_API int NvSim_GetCall(int index, NvSimCall* out) {
    if (!out) return 0;
    SimDriver::Access access(Driver());
    return access.log().Get(index, *out) ? 1 : 0;
}

NVSIM_API uint64_t NvSim_DisplayHandle(int display) { return Scenario::DisplayHandle(display); }

NVSIM_API uint64_t NvSim_GpuHandle(int gpuId) { return Scenario::GpuHandle(gpuId); }

NVSIM_API int NvSim_Brightness(int gpuId, int attribute) {
    SimDriver::Access access(Driver());
    SimGpu* gpu = access.scenario().Gpu(gpuId);
    if (!gpu || attribute < 0 || attribute >= nvsim::kLights) return -1;
    return gpu->brightness[attribute];
}

NVSIM_API int NvSim_AddZone(int gpuId, uint32_t type, uint32_t mode, const uint8_t* data, int size) {
    SimDriver::Access access(Driver());
    return access.scenario().AddZone(gpuId, type, mode, data, size);
}

NVSIM_API int NvSim_GetZone(int gpuId, int zone, NvSimZone* out) {
    if (!out) return 0;
    SimDriver::Access access(Driver());
    const SimGpu* gpu = access.scenario().Gpu(gpuId);
    if (!gpu || zone < 0 || zone >= gpu->zoneCount) return 0;
    const nvsim::SimZone& held = gpu->zones[zone];
    out->type = held.type;
    out->mode = held.mode;
    static_assert(sizeof out->data == sizeof held.data, "zone data sizes agree");
    for (int i = 0; i < nvsim::kZoneDataSize; ++i) out->data[i] = held.data[i];
    return 1;
}
