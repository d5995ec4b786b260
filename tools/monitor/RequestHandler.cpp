#include "tools/monitor/RequestHandler.h"

#include <cstring>

#include "settings/PluginCfg.h"
#include "tools/common/LightView.h"

namespace {

// Reads the little-endian 32-bit field at `offset`, whatever the machine's byte order.
int32_t Field(const uint8_t* bytes, int offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + i];
    return static_cast<int32_t>(value);
}

void SetField(uint8_t* bytes, int offset, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

bool IsRequest(const uint8_t* bytes, int length) {
    if (length != kLightMessageSize) return false;
    const int32_t attribute = Field(bytes, kLightAttributeOffset);
    const int32_t level = Field(bytes, kLightLevelOffset);
    return Field(bytes, kLightCommandOffset) == kLightCommandSetIllumination && Field(bytes, kLightDisplayOffset) >= 0 &&
           Field(bytes, kLightGpuOffset) >= 0 && attribute >= 0 && attribute <= kAttributeZones && level >= 0 &&
           level <= 100;
}

}  // namespace

bool RequestHandler::Handle(uint8_t* bytes, int length) {
    if (!IsRequest(bytes, length)) {
        ++counts.malformed;
        return false;
    }
    ++counts.requests;
    if (dropEvery != 0 && counts.requests % dropEvery == 0) {
        ++counts.dropped;
        return false;
    }
    // Only a change the service reports as done reaches the view.
    if (status == 1)
        LightView_Changed(static_cast<unsigned>(Field(bytes, kLightDisplayOffset)),
                          static_cast<unsigned>(Field(bytes, kLightGpuOffset)), Field(bytes, kLightAttributeOffset),
                          static_cast<unsigned>(Field(bytes, kLightLevelOffset)));
    SetField(bytes, kLightStatusOffset, status);
    ++counts.answered;
    return true;
}
