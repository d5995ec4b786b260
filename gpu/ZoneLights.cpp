#include "gpu/ZoneLights.h"

namespace {

constexpr unsigned kMaxBrightness = 100;

NvU32 ZoneCount(NvU32 reported) {
    return reported < static_cast<NvU32>(NV_GPU_CLIENT_ILLUM_ZONE_NUM_ZONES_MAX)
               ? reported
               : static_cast<NvU32>(NV_GPU_CLIENT_ILLUM_ZONE_NUM_ZONES_MAX);
}

}  // namespace

ZoneLights::ZoneLights() : info_(), saved_(), set_() {}

bool ZoneLights::Supported(NvPhysicalGpuHandle gpu) {
    info_ = NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1();
    info_.version = NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_VER;
    return NvAPI_GPU_ClientIllumZonesGetInfo(gpu, &info_) == NVAPI_OK && info_.numIllumZones > 0;
}

bool ZoneLights::Read(NvPhysicalGpuHandle gpu) {
    read_ = false;
    saved_ = NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1();
    saved_.version = NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_VER;  // bDefault 0: the active values
    if (NvAPI_GPU_ClientIllumZonesGetControl(gpu, &saved_) != NVAPI_OK) return false;
    // A cycling zone's first end point sits where a manual zone's colour does: switching the
    // mode holds the zone at that colour.
    set_ = saved_;
    set_.flags &= ~NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_DEFAULT;
    const NvU32 zones = ZoneCount(set_.numIllumZonesControl);
    for (NvU32 i = 0; i < zones; ++i) set_.zones[i].ctrlMode = NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL;
    read_ = true;
    changed_ = false;
    return true;
}

bool ZoneLights::Set(NvPhysicalGpuHandle gpu, unsigned value) {
    if (!read_) return false;
    const NvU8 brightness = static_cast<NvU8>(value < kMaxBrightness ? value : kMaxBrightness);
    const NvU32 zones = ZoneCount(set_.numIllumZonesControl);
    for (NvU32 i = 0; i < zones; ++i) {
        const int at = NvZoneBrightnessIndex(set_.zones[i].type);
        if (at >= 0) set_.zones[i].data[at] = brightness;
    }
    // Even a refused set may have reached some zones: from here on there is something to give back.
    changed_ = true;
    return NvAPI_GPU_ClientIllumZonesSetControl(gpu, &set_) == NVAPI_OK;
}

bool ZoneLights::Restore(NvPhysicalGpuHandle gpu) {
    if (!read_) return false;
    read_ = false;
    // A light that was opened but never set leaves the zones to the user: what they changed
    // meanwhile in other lighting software must not be overwritten with what was read.
    if (!changed_) return true;
    return NvAPI_GPU_ClientIllumZonesSetControl(gpu, &saved_) == NVAPI_OK;
}
