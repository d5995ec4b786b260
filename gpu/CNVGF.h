#pragma once
// The plug-in's handle on one light: one display and one physical GPU of it, selected by
// index, whose illumination it queries and sets through NVAPI.
#include <windows.h>
#include "gpu/NvApi.h"
#include "gpu/ZoneLights.h"

class CNVGF {
public:
    CNVGF();
    virtual ~CNVGF();

    int Load(int bLoad);                                  // open (non-zero) or release the library link
    int Select(unsigned displayIndex, unsigned gpuIndex); // look up display and GPU, read the driver version
    int IsSupported(int attribute);                       // does the selected GPU have this light?
    int SetIllumination(int attribute, unsigned value);   // query support, then set the brightness
    // The zones' control as the user left it, read when a zone light is opened, written
    // back at the end of the run when the run set them (nothing when no zone light was opened
    // or none was set); 1 when the zones hold the user's lighting again.
    int ReadZones();
    int RestoreZones();

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
    ZoneLights zones;  // the zones of the selected GPU, for the light "Light Zones"
};
