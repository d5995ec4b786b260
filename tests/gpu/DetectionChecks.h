#pragma once
// Detection on a machine where the driver can't be used must return 0 and leave every slot
// byte for byte as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "gpu/DeviceDetection.h"

inline void ExpectDetectionTouchesNoSlot() {
    DEVICECFG slots[kDeviceSlots];
    std::memset(slots, 0x5A, sizeof slots);
    DEVICECFG before[kDeviceSlots];
    std::memcpy(before, slots, sizeof slots);
    EXPECT_EQ(0u, DetectDevices(slots));
    EXPECT_EQ(0, std::memcmp(before, slots, sizeof slots));
}
