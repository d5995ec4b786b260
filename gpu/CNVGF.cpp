#include "gpu/CNVGF.h"

#include <cstdio>

#include "settings/PluginCfg.h"
#include "support/SystemLibrary.h"

namespace {

// Equal ignoring ASCII letter case, reading at most `size` characters of `text`, which a
// driver may have filled to the last byte without a terminator.
bool EqualsIgnoringCase(const char* text, int size, const char* expected) {
    for (int i = 0; i < size; ++i) {
        char a = text[i];
        char b = expected[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
        if (a != b) return false;
        if (a == '\0') return true;
    }
    return false;
}

}  // namespace

CNVGF::CNVGF()
    : szInterfaceVersion(), szDriverVersion(), driverVersion(), pfnQueryInterface(nullptr), displayIndex(0),
      gpuIndex(0), gpuCount(0), hDisplay(nullptr), hGpu(), hNvapi(nullptr), zones() {}

CNVGF::~CNVGF() { Load(0); }

int CNVGF::Load(int bLoad) {
    if (!bLoad) {
        if (!hNvapi) return 0;
        FreeLibrary(hNvapi);
        hNvapi = nullptr;
        pfnQueryInterface = nullptr;
        return 1;
    }
    if (hNvapi) return 0;
    // The same system-folder library as the call surface: a file of that name beside the
    // host or in the current folder must never be linked.
    hNvapi = LoadSystemLibrary(NVAPI_LIBRARY_NAME);
    if (!hNvapi) return 0;
    // A library without the entry stays linked: a further Load(1) fails until Load(0).
    pfnQueryInterface = reinterpret_cast<void*>(GetProcAddress(hNvapi, "nvapi_QueryInterface"));
    return pfnQueryInterface ? 1 : 0;
}

int CNVGF::Select(unsigned display, unsigned gpu) {
    // Each step keeps what it wrote even when a later one fails.
    if (NvAPI_EnumNvidiaDisplayHandle(display, &hDisplay) != NVAPI_OK) return 0;
    displayIndex = display;
    if (NvAPI_GetPhysicalGPUsFromDisplay(hDisplay, hGpu, &gpuCount) != NVAPI_OK) return 0;
    // The index must also stay inside the handle array, whatever count a driver reports.
    if (gpu >= gpuCount || gpu >= static_cast<unsigned>(NVAPI_MAX_PHYSICAL_GPUS)) return 0;
    gpuIndex = gpu;
    if (NvAPI_GetDisplayDriverVersion(hDisplay, &driverVersion) != NVAPI_OK) return 0;
    std::snprintf(szDriverVersion, sizeof szDriverVersion, "%u.%u", driverVersion.drvVersion / 100,
                  driverVersion.drvVersion % 100);
    // Some drivers report no adapter text; the GPU's full name stands in for it.
    if (EqualsIgnoringCase(driverVersion.szAdapterString, sizeof driverVersion.szAdapterString,
                           "not implemented yet") &&
        NvAPI_GPU_GetFullName(hGpu[gpuIndex], driverVersion.szAdapterString) != NVAPI_OK)
        return 0;
    return 1;
}

int CNVGF::IsSupported(int attribute) {
    if (attribute == kAttributeZones) return zones.Supported(hGpu[gpuIndex]) ? 1 : 0;
    NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM parm = {};
    parm.version = NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER;
    parm.hPhysicalGpu = hGpu[gpuIndex];
    parm.Attribute = static_cast<NV_GPU_ILLUMINATION_ATTRIB>(attribute);
    return NvAPI_GPU_QueryIlluminationSupport(&parm) == NVAPI_OK && parm.bSupported ? 1 : 0;
}

int CNVGF::SetIllumination(int attribute, unsigned value) {
    if (!IsSupported(attribute)) return 0;
    if (attribute == kAttributeZones) return zones.Set(hGpu[gpuIndex], value) ? 1 : 0;
    NV_GPU_SET_ILLUMINATION_PARM parm = {};
    parm.version = NV_GPU_SET_ILLUMINATION_PARM_VER;
    parm.hPhysicalGpu = hGpu[gpuIndex];
    parm.Attribute = static_cast<NV_GPU_ILLUMINATION_ATTRIB>(attribute);
    parm.Value = value;
    return NvAPI_GPU_SetIllumination(&parm) == NVAPI_OK ? 1 : 0;
}

int CNVGF::ReadZones() { return zones.Read(hGpu[gpuIndex]) ? 1 : 0; }

int CNVGF::RestoreZones() { return zones.Restore(hGpu[gpuIndex]) ? 1 : 0; }
