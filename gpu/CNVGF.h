#pragma once
// The plug-in's handle on one light: one display and one physical GPU of it, selected by
// index, whose illumination it queries and sets through NVAPI.
#include <windows.h>
#include "gpu/NvApi.h"
#include "settings/PluginCfg.h"

class CNVGF {
public:
    CNVGF();
    virtual ~CNVGF();

    int Load(int bLoad);                                  // open (non-zero) or release the library link
    int Select(unsigned displayIndex, unsigned gpuIndex); // look up display and GPU, read the driver version
    int IsSupported(int attribute);                       // does the selected GPU have this light?
    int SetIllumination(int attribute, unsigned value);   // query support, then set the brightness

    NvAPI_ShortString szInterfaceVersion;
    char szDriverVersion[64];
    NV_DISPLAY_DRIVER_VERSION driverVersion;
    void* pfnQueryInterface;
    unsigned displayIndex;
    unsigned gpuIndex;
    unsigned gpuCount;
    NvDisplayHandle hDisplay;
    NvPhysicalGpuHandle hGpu[NVAPI_MAX_PHYSICAL_GPUS];
    HMODULE hNvapi;
};

// Opens the light that a device slot names on the object; 1 when the light is usable.
// The slot's Name always ends as "Unknown", "Unsupport" or the adapter's name.
int OpenDevice(CNVGF& object, DEVICECFG& slot);
