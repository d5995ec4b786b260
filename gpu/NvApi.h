#pragma once
// The least NVAPI call surface the plug-in needs: its records, and the operations reached
// through the driver library's nvapi_QueryInterface by interface id: the eight of the board
// logo and SLI bridge lights, and the three of the client illumination zones.
#include <cstddef>
#include <cstdint>

typedef int32_t NvAPI_Status;
typedef uint32_t NvU32;
typedef char NvAPI_ShortString[64];

struct NvDisplayHandle__;
struct NvPhysicalGpuHandle__;
typedef NvDisplayHandle__* NvDisplayHandle;
typedef NvPhysicalGpuHandle__* NvPhysicalGpuHandle;

constexpr NvAPI_Status NVAPI_OK = 0;
constexpr NvAPI_Status NVAPI_ERROR = -1;
constexpr NvAPI_Status NVAPI_LIBRARY_NOT_FOUND = -2;
constexpr NvAPI_Status NVAPI_NO_IMPLEMENTATION = -3;
constexpr NvAPI_Status NVAPI_INVALID_ARGUMENT = -5;
constexpr NvAPI_Status NVAPI_NVIDIA_DEVICE_NOT_FOUND = -6;
constexpr NvAPI_Status NVAPI_END_ENUMERATION = -7;
constexpr NvAPI_Status NVAPI_INCOMPATIBLE_STRUCT_VERSION = -9;
constexpr NvAPI_Status NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE = -101;
constexpr NvAPI_Status NVAPI_EXPECTED_DISPLAY_HANDLE = -102;
constexpr NvAPI_Status NVAPI_NOT_SUPPORTED = -104;

constexpr int NVAPI_MAX_PHYSICAL_GPUS = 64;

// Which light of a board.
typedef enum {
    NV_GPU_IA_LOGO_BRIGHTNESS = 0,
    NV_GPU_IA_SLI_BRIGHTNESS = 1,
} NV_GPU_ILLUMINATION_ATTRIB;

struct NV_DISPLAY_DRIVER_VERSION {
    NvU32 version;
    NvU32 drvVersion;
    NvU32 bldChangeListNum;
    NvAPI_ShortString szBuildBranchString;
    NvAPI_ShortString szAdapterString;
};

struct NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM {
    NvU32 version;
    NvPhysicalGpuHandle hPhysicalGpu;
    NV_GPU_ILLUMINATION_ATTRIB Attribute;
    NvU32 bSupported;
};

struct NV_GPU_SET_ILLUMINATION_PARM {
    NvU32 version;
    NvPhysicalGpuHandle hPhysicalGpu;
    NV_GPU_ILLUMINATION_ATTRIB Attribute;
    NvU32 Value;
};

// A record's version word: its size in the low 16 bits, the record version in the high 16.
template <typename Record>
constexpr NvU32 NvRecordVersion(NvU32 recordVersion) {
    return static_cast<NvU32>(sizeof(Record)) | (recordVersion << 16);
}
constexpr NvU32 NV_DISPLAY_DRIVER_VERSION_VER = NvRecordVersion<NV_DISPLAY_DRIVER_VERSION>(1);
constexpr NvU32 NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER =
    NvRecordVersion<NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM>(1);
constexpr NvU32 NV_GPU_SET_ILLUMINATION_PARM_VER = NvRecordVersion<NV_GPU_SET_ILLUMINATION_PARM>(1);

static_assert(NV_DISPLAY_DRIVER_VERSION_VER == 0x1008C, "driver-version record is 140 bytes");
#if defined(_M_IX86) || defined(__i386__)
static_assert(NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER == 0x10010, "query record is 16 bytes");
static_assert(NV_GPU_SET_ILLUMINATION_PARM_VER == 0x10010, "set record is 16 bytes");
#else
static_assert(NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER == 0x10018, "query record is 24 bytes");
static_assert(NV_GPU_SET_ILLUMINATION_PARM_VER == 0x10018, "set record is 24 bytes");
#endif

// The client illumination zones of current boards: each zone of a GPU's lit logo or light bar
// has a type (which colour channels it has), a control mode and, in manual mode, a colour with
// a brightness. The records hold no pointers, so they are laid out alike in 32 and 64 bits.
typedef uint8_t NvU8;

constexpr int NV_GPU_CLIENT_ILLUM_ZONE_NUM_ZONES_MAX = 32;

enum : NvU32 {  // NV_GPU_CLIENT_ILLUM_ZONE_TYPE
    NV_GPU_CLIENT_ILLUM_ZONE_TYPE_INVALID = 0,
    NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB = 1,
    NV_GPU_CLIENT_ILLUM_ZONE_TYPE_COLOR_FIXED = 2,
    NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGBW = 3,
    NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR = 4,
};

enum : NvU32 {  // NV_GPU_CLIENT_ILLUM_CTRL_MODE
    NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL = 0,
    NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR = 1,
};

struct NV_GPU_CLIENT_ILLUM_ZONE_INFO_V1 {
    NvU32 type;
    NvU8 illumDeviceIdx;
    NvU8 provIdx;
    NvU8 rsvdAlign[2];
    NvU32 zoneLocation;
    NvU8 rsvd[128];
};

struct NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1 {
    NvU32 version;
    NvU32 numIllumZones;
    NvU8 rsvd[64];
    NV_GPU_CLIENT_ILLUM_ZONE_INFO_V1 zones[NV_GPU_CLIENT_ILLUM_ZONE_NUM_ZONES_MAX];
};

// One zone's control. In manual mode `data` holds the colour, by the zone's type: RGB: red,
// green, blue, brightness; RGBW: red, green, blue, white, brightness; COLOR_FIXED and
// SINGLE_COLOR: brightness. In piecewise-linear mode the first end point's colour sits at the
// same places.
struct NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1 {
    NvU32 type;
    NvU32 ctrlMode;
    NvU8 data[192];
};

// Where a manual zone's brightness sits in its data, by the zone's type; -1: a type without
// brightness.
constexpr int NvZoneBrightnessIndex(NvU32 type) {
    switch (type) {
        case NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB: return 3;
        case NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGBW: return 4;
        case NV_GPU_CLIENT_ILLUM_ZONE_TYPE_COLOR_FIXED:
        case NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR: return 0;
        default: return -1;
    }
}

struct NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1 {
    NvU32 version;
    NvU32 flags;  // bit 0, bDefault: 1 the default values, 0 the values now active
    NvU32 numIllumZonesControl;
    NvU8 rsvd[64];
    NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1 zones[NV_GPU_CLIENT_ILLUM_ZONE_NUM_ZONES_MAX];
};

constexpr NvU32 NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_VER = NvRecordVersion<NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1>(1);
constexpr NvU32 NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_VER =
    NvRecordVersion<NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1>(1);
constexpr NvU32 NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_DEFAULT = 1;  // the bDefault bit of flags

static_assert(sizeof(NV_GPU_CLIENT_ILLUM_ZONE_INFO_V1) == 140, "zone info is 140 bytes");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_INFO_V1, illumDeviceIdx) == 4, "illumDeviceIdx at 4");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_INFO_V1, provIdx) == 5, "provIdx at 5");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_INFO_V1, zoneLocation) == 8, "zoneLocation at 8");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1, numIllumZones) == 4, "numIllumZones at 4");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1, zones) == 72, "zone infos at 72");
static_assert(NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_VER == 0x111C8, "zone info record is 4552 bytes");
static_assert(sizeof(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1) == 200, "zone control is 200 bytes");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1, ctrlMode) == 4, "ctrlMode at 4");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_V1, data) == 8, "zone data at 8");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1, flags) == 4, "bDefault in the word at 4");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1, numIllumZonesControl) == 8,
              "numIllumZonesControl at 8");
static_assert(offsetof(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1, zones) == 76, "zone controls at 76");
static_assert(NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_VER == 0x1194C, "zone control record is 6476 bytes");

// Interface ids answered by nvapi_QueryInterface.
enum NvApiInterfaceId : NvU32 {
    kNvId_Initialize = 0x0150E828,
    kNvId_GetInterfaceVersionString = 0x01053FA5,
    kNvId_EnumNvidiaDisplayHandle = 0x9ABDD40D,
    kNvId_GetPhysicalGPUsFromDisplay = 0x34EF9506,
    kNvId_GetDisplayDriverVersion = 0xF951A4D1,
    kNvId_GPU_GetFullName = 0xCEEE8E9F,
    kNvId_GPU_QueryIlluminationSupport = 0xA629DA31,
    kNvId_GPU_SetIllumination = 0x0254A187,
    kNvId_GPU_ClientIllumZonesGetInfo = 0x4B81241B,
    kNvId_GPU_ClientIllumZonesGetControl = 0x3DBF5764,
    kNvId_GPU_ClientIllumZonesSetControl = 0x197D065E,
};

// The driver library's platform name: "nvapi.dll" for 32-bit code, "nvapi64.dll" for 64-bit.
// It is only ever loaded from the system folder.
#if defined(_WIN64)
#define NVAPI_LIBRARY_NAME "nvapi64.dll"
#else
#define NVAPI_LIBRARY_NAME "nvapi.dll"
#endif

// The operations. Each loads the driver library from the system folder on first use (and
// never unloads it) and returns NVAPI_LIBRARY_NOT_FOUND or NVAPI_NO_IMPLEMENTATION when it
// can't reach the call.
NvAPI_Status NvAPI_Initialize();
NvAPI_Status NvAPI_GetInterfaceVersionString(NvAPI_ShortString text);
NvAPI_Status NvAPI_EnumNvidiaDisplayHandle(NvU32 thisEnum, NvDisplayHandle* handle);
NvAPI_Status NvAPI_GetPhysicalGPUsFromDisplay(NvDisplayHandle display,
                                              NvPhysicalGpuHandle gpus[NVAPI_MAX_PHYSICAL_GPUS],
                                              NvU32* gpuCount);
NvAPI_Status NvAPI_GetDisplayDriverVersion(NvDisplayHandle display, NV_DISPLAY_DRIVER_VERSION* version);
NvAPI_Status NvAPI_GPU_GetFullName(NvPhysicalGpuHandle gpu, NvAPI_ShortString name);
NvAPI_Status NvAPI_GPU_QueryIlluminationSupport(NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM* parm);
NvAPI_Status NvAPI_GPU_SetIllumination(NV_GPU_SET_ILLUMINATION_PARM* parm);
NvAPI_Status NvAPI_GPU_ClientIllumZonesGetInfo(NvPhysicalGpuHandle gpu, NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1* info);
NvAPI_Status NvAPI_GPU_ClientIllumZonesGetControl(NvPhysicalGpuHandle gpu,
                                                  NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1* control);
NvAPI_Status NvAPI_GPU_ClientIllumZonesSetControl(NvPhysicalGpuHandle gpu,
                                                  NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1* control);
