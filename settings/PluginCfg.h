#pragma once
// The settings record: a few global values, the HALOSEQ player values and eight device slots.
// A plain value type with no owned memory, so copying one record into the other copies all.
#include <cstdint>

constexpr int kDeviceSlots = 8;
constexpr int kSlotNameSize = 64;

// Attribute codes: which light of the board. Zones: every illumination zone of the GPU.
enum : int32_t { kAttributeLogo = 0, kAttributeSli = 1, kAttributeZones = 2 };
// Channel codes: the audio that feeds a light.
enum : int32_t { kChannelDisable = 0, kChannelLeft = 1, kChannelRight = 2, kChannelBoth = 3 };

struct DEVICECFG {
    int32_t Enable;     // 0 or 1: the slot drives its light
    uint32_t Display;   // display through which the GPU is reached
    uint32_t GPU;       // GPU index on that display
    int32_t Attribute;  // kAttributeLogo, kAttributeSli or kAttributeZones
    int32_t Channel;    // kChannelDisable .. kChannelBoth
    char Name[kSlotNameSize];  // shown in the dialog, never stored in the file
};

struct PLUGINCFG {
    int32_t Debug;         // non-zero: brightness goes to the local illumination service
    int32_t AutoDetect;    // non-zero: the dialog scans for lights when it opens
    uint32_t Decay;        // divisor of each frame's second brightness value
    int32_t PlayerEnable;  // non-zero: pause HALOSEQ while rendering
    uint32_t PlayerWait;   // seconds without a frame before HALOSEQ may resume
    DEVICECFG Devices[kDeviceSlots];
};

static_assert(sizeof(DEVICECFG) == 84, "DEVICECFG layout");
static_assert(sizeof(PLUGINCFG) == 20 + 8 * 84, "PLUGINCFG layout");

// The live settings the plug-in runs on, and the working copy the settings dialog edits.
// Both start all zero when the DLL is loaded.
extern PLUGINCFG g_LiveConfig;
extern PLUGINCFG g_WorkConfig;
