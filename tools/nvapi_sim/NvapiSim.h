#pragma once
// The simulated NVIDIA driver's control interface, exported beside nvapi_QueryInterface.
// Tests link the driver's import library (or look the functions up) to set up a scenario
// and read back every call that reached the driver, in order.
#include <cstdint>

#if defined(NVSIM_BUILD)
#define NVSIM_API extern "C" __declspec(dllexport)
#else
#define NVSIM_API extern "C" __declspec(dllimport)
#endif

// One recorded driver call. Fields that an operation does not have stay 0.
struct NvSimCall {
    uint32_t id;        // interface id of the operation (kNvId_... in gpu/NvApi.h)
    int32_t status;     // status the driver returned
    uint64_t handle;    // display handle (enumeration, GPU list, driver version) or GPU handle
    uint32_t index;     // display index for enumeration; the control record's flags (zones)
    uint32_t version;   // record version word passed in (driver version, query, set, zones)
    int32_t attribute;  // illumination attribute (query, set); kAttributeZones for the zone calls
    uint32_t value;     // brightness (set, zones' set: of the first zone); bSupported (query);
                        // zones reported (zones' info and control)
};

// Empties the scenario: no displays, no GPUs, no failures, recording on, log cleared.
NVSIM_API void NvSim_Reset();
// Adds a GPU; returns its id (0, 1, ...). adapterText is what the driver-version record
// reports; fullName is what GetFullName reports. driverVersion as in drvVersion (e.g. 920).
NVSIM_API int NvSim_AddGpu(const char* fullName, const char* adapterText, uint32_t driverVersion, int hasLogo,
                           int hasSli);
// Adds a display that reaches the given GPUs (ids from NvSim_AddGpu), in that order;
// returns the display's index.
NVSIM_API int NvSim_AddDisplay(const int* gpuIds, int gpuCount);
// From now on the operation `id` returns `status` (0 restores normal behaviour).
NVSIM_API void NvSim_FailCall(uint32_t id, int32_t status);
// From now on nvapi_QueryInterface returns null for `id` (hidden non-zero) or the call.
NVSIM_API void NvSim_HideCall(uint32_t id, int hidden);
// Recording on or off (off for benchmarks; calls are still answered).
NVSIM_API void NvSim_SetRecording(int on);
NVSIM_API void NvSim_ClearCalls();
NVSIM_API int NvSim_CallCount();
// Copies call `index` (0 = oldest) into `out`; 0 when there is no such call.
NVSIM_API int NvSim_GetCall(int index, NvSimCall* out);
// Handles as the driver hands them out, for comparing with recorded calls.
NVSIM_API uint64_t NvSim_DisplayHandle(int display);
NVSIM_API uint64_t NvSim_GpuHandle(int gpuId);
// Adds an illumination zone to a GPU: its type (1 RGB, 2 colour fixed, 3 RGBW, 4 single
// colour), its control mode (0 manual, 1 piecewise linear) and the first `size` bytes of its
// data, the colour as a control record holds it (RGB: red, green, blue, brightness; RGBW: red,
// green, blue, white, brightness; the others: brightness). Returns the zone's index, -1 when
// the GPU can't take it.
NVSIM_API int NvSim_AddZone(int gpuId, uint32_t type, uint32_t mode, const uint8_t* data, int size);
// A zone as the driver holds it now. The data is a control record's zone data (NvapiSim.cpp
// holds the two sizes together); this header of the driver's own interface stands alone.
struct NvSimZone {
    uint32_t type;
    uint32_t mode;
    uint8_t data[192];
};
NVSIM_API int NvSim_GetZone(int gpuId, int zone, NvSimZone* out);
// The brightness a GPU's light holds now (-1 when it was never set).
NVSIM_API int NvSim_Brightness(int gpuId, int attribute);
