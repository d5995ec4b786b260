// The driver operations of the simulated NVIDIA driver (the eight of the logo and SLI lights,
// the three of the illumination zones) and nvapi_QueryInterface, which hands them out by
// interface id. Each operation checks its arguments as the real
// driver does, answers from the scenario, and records itself in the call log; an operation
// made to fail returns its forced status without doing anything else.
#include "gpu/NvApi.h"
#include "settings/PluginCfg.h"
#include "tools/common/LightView.h"
#include "tools/nvapi_sim/NvapiSim.h"
#include "tools/nvapi_sim/SimDriver.h"

namespace nvsim {
namespace {

constexpr uint32_t kMaxBrightness = 100;
constexpr const char* kInterfaceVersion = "Glowmeter simulated NVAPI";

uint64_t HandleBits(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }

template <typename Handle>
Handle MakeHandle(uint64_t bits) {
    return reinterpret_cast<Handle>(static_cast<uintptr_t>(bits));
}

NvAPI_Status Answer(SimDriver::Access& access, NvSimCall& call, NvAPI_Status status) {
    call.status = status;
    access.Record(call);
    return status;
}

// Resolves a display handle to the scenario's display index, or says what is wrong with it.
NvAPI_Status CheckDisplay(SimDriver::Access& access, NvDisplayHandle handle, int& display) {
    if (!handle) return NVAPI_INVALID_ARGUMENT;
    display = access.scenario().DisplayFromHandle(HandleBits(handle));
    return display < 0 ? NVAPI_EXPECTED_DISPLAY_HANDLE : NVAPI_OK;
}

NvAPI_Status CheckGpu(SimDriver::Access& access, NvPhysicalGpuHandle handle, SimGpu*& gpu, int& gpuId) {
    if (!handle) return NVAPI_INVALID_ARGUMENT;
    gpuId = access.scenario().GpuFromHandle(HandleBits(handle));
    gpu = access.scenario().Gpu(gpuId);
    return gpu ? NVAPI_OK : NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE;
}

bool ValidAttribute(int attribute) { return attribute == NV_GPU_IA_LOGO_BRIGHTNESS || attribute == NV_GPU_IA_SLI_BRIGHTNESS; }

NvAPI_Status __cdecl Initialize() {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_Initialize, 0, 0, 0, 0, 0, 0};
    return Answer(access, call, access.scenario().ForcedStatus(call.id));
}

NvAPI_Status __cdecl GetInterfaceVersionString(char* text) {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_GetInterfaceVersionString, 0, 0, 0, 0, 0, 0};
    if (NvAPI_Status forced = access.scenario().ForcedStatus(call.id)) return Answer(access, call, forced);
    if (!text) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    CopyText(text, kTextSize, kInterfaceVersion);
    return Answer(access, call, NVAPI_OK);
}

NvAPI_Status __cdecl EnumNvidiaDisplayHandle(NvU32 index, NvDisplayHandle* handle) {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_EnumNvidiaDisplayHandle, 0, 0, index, 0, 0, 0};
    if (NvAPI_Status forced = access.scenario().ForcedStatus(call.id)) return Answer(access, call, forced);
    if (!handle) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    if (index >= static_cast<NvU32>(access.scenario().DisplayCount())) return Answer(access, call, NVAPI_END_ENUMERATION);
    call.handle = Scenario::DisplayHandle(static_cast<int>(index));
    *handle = MakeHandle<NvDisplayHandle>(call.handle);
    return Answer(access, call, NVAPI_OK);
}

NvAPI_Status __cdecl GetPhysicalGPUsFromDisplay(NvDisplayHandle handle, NvPhysicalGpuHandle* gpus, NvU32* count) {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_GetPhysicalGPUsFromDisplay, 0, HandleBits(handle), 0, 0, 0, 0};
    if (NvAPI_Status forced = access.scenario().ForcedStatus(call.id)) return Answer(access, call, forced);
    if (!gpus || !count) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    int display = -1;
    if (NvAPI_Status status = CheckDisplay(access, handle, display)) return Answer(access, call, status);
    const SimDisplay* reached = access.scenario().Display(display);
    for (int i = 0; i < reached->gpuCount; ++i)
        gpus[i] = MakeHandle<NvPhysicalGpuHandle>(Scenario::GpuHandle(reached->gpuIds[i]));
    *count = static_cast<NvU32>(reached->gpuCount);
    return Answer(access, call, NVAPI_OK);
}

NvAPI_Status __cdecl GetDisplayDriverVersion(NvDisplayHandle handle, NV_DISPLAY_DRIVER_VERSION* record) {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_GetDisplayDriverVersion, 0, HandleBits(handle), 0, record ? record->version : 0, 0, 0};
    if (NvAPI_Status forced = access.scenario().ForcedStatus(call.id)) return Answer(access, call, forced);
    if (!record) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    if (record->version != NV_DISPLAY_DRIVER_VERSION_VER) return Answer(access, call, NVAPI_INCOMPATIBLE_STRUCT_VERSION);
    int display = -1;
    if (NvAPI_Status status = CheckDisplay(access, handle, display)) return Answer(access, call, status);
    // The display reports the driver and adapter of the first GPU it reaches.
    const SimDisplay* reached = access.scenario().Display(display);
    const SimGpu* gpu = reached->gpuCount > 0 ? access.scenario().Gpu(reached->gpuIds[0]) : nullptr;
    record->drvVersion = gpu ? gpu->driverVersion : 0;
    record->bldChangeListNum = 0;
    CopyText(record->szBuildBranchString, kTextSize, "simulated");
    CopyText(record->szAdapterString, kTextSize, gpu ? gpu->adapterText : "");
    return Answer(access, call, NVAPI_OK);
}

NvAPI_Status __cdecl GpuGetFullName(NvPhysicalGpuHandle handle, char* name) {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_GPU_GetFullName, 0, HandleBits(handle), 0, 0, 0, 0};
    if (NvAPI_Status forced = access.scenario().ForcedStatus(call.id)) return Answer(access, call, forced);
    if (!name) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    SimGpu* gpu = nullptr;
    int gpuId = -1;
    if (NvAPI_Status status = CheckGpu(access, handle, gpu, gpuId)) return Answer(access, call, status);
    CopyText(name, kTextSize, gpu->fullName);
    return Answer(access, call, NVAPI_OK);
}

NvAPI_Status __cdecl GpuQueryIlluminationSupport(NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM* parm) {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_GPU_QueryIlluminationSupport, 0, 0, 0, 0, 0, 0};
    if (parm) {
        call.handle = HandleBits(parm->hPhysicalGpu);
        call.version = parm->version;
        call.attribute = parm->Attribute;
    }
    if (NvAPI_Status forced = access.scenario().ForcedStatus(call.id)) return Answer(access, call, forced);
    if (!parm) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    if (parm->version != NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER)
        return Answer(access, call, NVAPI_INCOMPATIBLE_STRUCT_VERSION);
    SimGpu* gpu = nullptr;
    int gpuId = -1;
    if (NvAPI_Status status = CheckGpu(access, parm->hPhysicalGpu, gpu, gpuId)) return Answer(access, call, status);
    if (!ValidAttribute(parm->Attribute)) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    parm->bSupported = gpu->hasLight[parm->Attribute] ? 1 : 0;
    call.value = parm->bSupported;
    return Answer(access, call, NVAPI_OK);
}

NvAPI_Status __cdecl GpuSetIllumination(NV_GPU_SET_ILLUMINATION_PARM* parm) {
    SimDriver::Access access(Driver());
    NvSimCall call = {kNvId_GPU_SetIllumination, 0, 0, 0, 0, 0, 0};
    if (parm) {
        call.handle = HandleBits(parm->hPhysicalGpu);
        call.version = parm->version;
        call.attribute = parm->Attribute;
        call.value = parm->Value;
    }
    if (NvAPI_Status forced = access.scenario().ForcedStatus(call.id)) return Answer(access, call, forced);
    if (!parm) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    if (parm->version != NV_GPU_SET_ILLUMINATION_PARM_VER) return Answer(access, call, NVAPI_INCOMPATIBLE_STRUCT_VERSION);
    SimGpu* gpu = nullptr;
    int gpuId = -1;
    if (NvAPI_Status status = CheckGpu(access, parm->hPhysicalGpu, gpu, gpuId)) return Answer(access, call, status);
    if (!ValidAttribute(parm->Attribute) || parm->Value > kMaxBrightness) return Answer(access, call, NVAPI_INVALID_ARGUMENT);
    if (!gpu->hasLight[parm->Attribute]) return Answer(access, call, NVAPI_NOT_SUPPORTED);
    gpu->brightness[parm->Attribute] = static_cast<int>(parm->Value);
    unsigned display = 0;
    unsigned gpuIndex = 0;
    // Still under the lock, so the view sees the changes in the order the log holds them.
    if (access.scenario().FirstDisplayOf(gpuId, display, gpuIndex))
        LightView_Changed(display, gpuIndex, parm->Attribute, parm->Value);
    return Answer(access, call, NVAPI_OK);
}

// The brightness the light view shows for a GPU's zones: the first zone's (a cycling zone's
// at its first end point).
unsigned ZonesBrightness(const SimGpu& gpu) {
    if (gpu.zoneCount == 0) return 0;
    const int at = NvZoneBrightnessIndex(gpu.zones[0].type);
    return at < 0 ? 0 : gpu.zones[0].data[at];
}

// The flags word of a control record (bit 0: bDefault); an info record has none.
NvU32 RecordFlags(const NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1& control) { return control.flags; }
NvU32 RecordFlags(const NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1&) { return 0; }

// What every zone call does first: it takes the driver, starts its log entry (the zones get
// the code a device slot's Attribute gives them, in the call log and the light view) and
// checks the forced status, the record, its version and the GPU. `checked` is the first
// failure, NVAPI_OK when the call goes on with `gpu`.
struct ZoneCall {
    template <typename Record>
    ZoneCall(uint32_t id, NvPhysicalGpuHandle handle, const Record* record, NvU32 version)
        : access(Driver()),
          call{id, 0, HandleBits(handle), record ? RecordFlags(*record) : 0, record ? record->version : 0,
               kAttributeZones, 0},
          checked(access.scenario().ForcedStatus(id)) {
        if (checked) return;
        if (!record)
            checked = NVAPI_INVALID_ARGUMENT;
        else if (record->version != version)
            checked = NVAPI_INCOMPATIBLE_STRUCT_VERSION;
        else
            checked = CheckGpu(access, handle, gpu, gpuId);
    }
    NvAPI_Status Reply(NvAPI_Status status) { return Answer(access, call, status); }

    SimDriver::Access access;
    NvSimCall call;
    SimGpu* gpu = nullptr;
    int gpuId = -1;
    NvAPI_Status checked;
};

NvAPI_Status __cdecl ZonesGetInfo(NvPhysicalGpuHandle handle, NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1* info) {
    ZoneCall zones(kNvId_GPU_ClientIllumZonesGetInfo, handle, info, NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_VER);
    if (zones.checked) return zones.Reply(zones.checked);
    const SimGpu& gpu = *zones.gpu;
    info->numIllumZones = static_cast<NvU32>(gpu.zoneCount);
    for (int i = 0; i < gpu.zoneCount; ++i) {
        info->zones[i].type = gpu.zones[i].type;
        info->zones[i].zoneLocation = static_cast<NvU32>(i);
    }
    zones.call.value = info->numIllumZones;
    return zones.Reply(NVAPI_OK);
}

NvAPI_Status __cdecl ZonesGetControl(NvPhysicalGpuHandle handle, NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1* control) {
    ZoneCall zones(kNvId_GPU_ClientIllumZonesGetControl, handle, control, NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_VER);
    if (zones.checked) return zones.Reply(zones.checked);
    const SimGpu& gpu = *zones.gpu;
    const bool defaults = (control->flags & NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_DEFAULT) != 0;
    control->numIllumZonesControl = static_cast<NvU32>(gpu.zoneCount);
    for (int i = 0; i < gpu.zoneCount; ++i) {
        NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1& zone = control->zones[i];
        zone = NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1();
        zone.type = gpu.zones[i].type;
        if (defaults) {
            // The factory's lighting: full white, manual.
            zone.ctrlMode = NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL;
            const int at = NvZoneBrightnessIndex(zone.type);
            for (int b = 0; b < at; ++b) zone.data[b] = 255;
            if (at >= 0) zone.data[at] = 100;
        } else {
            zone.ctrlMode = gpu.zones[i].mode;
            for (int b = 0; b < kZoneDataSize; ++b) zone.data[b] = gpu.zones[i].data[b];
        }
    }
    zones.call.value = control->numIllumZonesControl;
    return zones.Reply(NVAPI_OK);
}

// Takes a control record for the GPU's zones: as many zones as it has, of their types, in a
// known mode, a manual zone's brightness a percentage. The defaults can't be written.
NvAPI_Status CheckControl(const SimGpu& gpu, const NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1& control) {
    if ((control.flags & NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_DEFAULT) ||
        control.numIllumZonesControl != static_cast<NvU32>(gpu.zoneCount))
        return NVAPI_INVALID_ARGUMENT;
    for (int i = 0; i < gpu.zoneCount; ++i) {
        const NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1& zone = control.zones[i];
        if (zone.type != gpu.zones[i].type || zone.ctrlMode > NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR)
            return NVAPI_INVALID_ARGUMENT;
        const int at = NvZoneBrightnessIndex(zone.type);
        if (zone.ctrlMode == NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL && at >= 0 && zone.data[at] > kMaxBrightness)
            return NVAPI_INVALID_ARGUMENT;
    }
    return NVAPI_OK;
}

NvAPI_Status __cdecl ZonesSetControl(NvPhysicalGpuHandle handle, NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1* control) {
    ZoneCall zones(kNvId_GPU_ClientIllumZonesSetControl, handle, control, NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_VER);
    if (zones.checked) return zones.Reply(zones.checked);
    SimGpu& gpu = *zones.gpu;
    if (NvAPI_Status status = CheckControl(gpu, *control)) return zones.Reply(status);
    for (int i = 0; i < gpu.zoneCount; ++i) {
        gpu.zones[i].mode = control->zones[i].ctrlMode;
        for (int b = 0; b < kZoneDataSize; ++b) gpu.zones[i].data[b] = control->zones[i].data[b];
    }
    zones.call.value = ZonesBrightness(gpu);
    unsigned display = 0;
    unsigned gpuIndex = 0;
    if (zones.access.scenario().FirstDisplayOf(zones.gpuId, display, gpuIndex))
        LightView_Changed(display, gpuIndex, kAttributeZones, zones.call.value);
    return zones.Reply(NVAPI_OK);
}

struct Operation {
    uint32_t id;
    void* function;
};

void* FunctionFor(uint32_t id) {
    static const Operation kOperations[] = {
        {kNvId_Initialize, reinterpret_cast<void*>(&Initialize)},
        {kNvId_GetInterfaceVersionString, reinterpret_cast<void*>(&GetInterfaceVersionString)},
        {kNvId_EnumNvidiaDisplayHandle, reinterpret_cast<void*>(&EnumNvidiaDisplayHandle)},
        {kNvId_GetPhysicalGPUsFromDisplay, reinterpret_cast<void*>(&GetPhysicalGPUsFromDisplay)},
        {kNvId_GetDisplayDriverVersion, reinterpret_cast<void*>(&GetDisplayDriverVersion)},
        {kNvId_GPU_GetFullName, reinterpret_cast<void*>(&GpuGetFullName)},
        {kNvId_GPU_QueryIlluminationSupport, reinterpret_cast<void*>(&GpuQueryIlluminationSupport)},
        {kNvId_GPU_SetIllumination, reinterpret_cast<void*>(&GpuSetIllumination)},
        {kNvId_GPU_ClientIllumZonesGetInfo, reinterpret_cast<void*>(&ZonesGetInfo)},
        {kNvId_GPU_ClientIllumZonesGetControl, reinterpret_cast<void*>(&ZonesGetControl)},
        {kNvId_GPU_ClientIllumZonesSetControl, reinterpret_cast<void*>(&ZonesSetControl)},
    };
    for (const Operation& op : kOperations)
        if (op.id == id) return op.function;
    return nullptr;
}

}  // namespace
}  // namespace nvsim

NVSIM_API void* __cdecl nvapi_QueryInterface(uint32_t id) {
    using namespace nvsim;
    SimDriver::Access access(Driver());
    return access.scenario().IsHidden(id) ? nullptr : FunctionFor(id);
}
