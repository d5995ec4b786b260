#pragma once
// The datagram of the diagnostic path, shared by the plug-in's client, the local illumination
// service (glowmeter-monitor) and the programs that measure them: a request and its reply have
// one layout, six 32-bit integers in little-endian byte order, 24 bytes.
#include <cstddef>
#include <cstdint>

struct LIGHTMSG {
    int32_t command;    // kLightCommandSetIllumination
    int32_t status;     // 0 in a request; kLightStatusDone in a reply means done
    int32_t display;
    int32_t gpu;
    int32_t attribute;  // 0 logo, 1 SLI bridge, 2 zones, as a device slot's Attribute
    int32_t level;      // brightness, 0..100
};

constexpr int kLightMessageSize = 24;
constexpr int kLightCommandOffset = 0;
constexpr int kLightStatusOffset = 4;
constexpr int kLightDisplayOffset = 8;
constexpr int kLightGpuOffset = 12;
constexpr int kLightAttributeOffset = 16;
constexpr int kLightLevelOffset = 20;

constexpr int32_t kLightCommandSetIllumination = 3;
constexpr int32_t kLightStatusDone = 1;
constexpr unsigned short kLightServicePort = 30000;  // on 127.0.0.1

static_assert(sizeof(LIGHTMSG) == kLightMessageSize, "LIGHTMSG is 24 bytes");
static_assert(offsetof(LIGHTMSG, status) == kLightStatusOffset, "status at 4");
static_assert(offsetof(LIGHTMSG, display) == kLightDisplayOffset, "display at 8");
static_assert(offsetof(LIGHTMSG, gpu) == kLightGpuOffset, "gpu at 12");
static_assert(offsetof(LIGHTMSG, attribute) == kLightAttributeOffset, "attribute at 16");
static_assert(offsetof(LIGHTMSG, level) == kLightLevelOffset, "level at 20");
