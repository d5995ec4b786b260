// A driver library without nvapi_QueryInterface sits in the system folder (the fixture puts
// it there for this program): linking fails but holds the library until released.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "gpu/OpenDevice.h"
#include "gpu/DeviceDetection.h"
#include "tests/common/LoadedSystemLibrary.h"
#include "tests/gpu/DetectionChecks.h"

namespace {

TEST(NoEntry, LoadFailsButKeepsTheLinkUntilReleased) {
    CNVGF object;
    EXPECT_EQ(0, object.Load(1));
    HMODULE held = object.hNvapi;
    ASSERT_NE(nullptr, held);
    EXPECT_EQ(LoadedSystemLibrary(NVAPI_LIBRARY_NAME), held);
    EXPECT_NE(nullptr, GetProcAddress(held, "NotTheDriver")) << "the no-entry library, not the simulated driver";
    EXPECT_EQ(nullptr, object.pfnQueryInterface);
    EXPECT_EQ(0, object.Load(1));
    EXPECT_EQ(held, object.hNvapi);
    EXPECT_EQ(1, object.Load(0));
    EXPECT_EQ(nullptr, object.hNvapi);
}

TEST(NoEntry, NothingOpensAndNothingIsDetected) {
    CNVGF object;
    DEVICECFG slot = {};
    EXPECT_EQ(0, OpenDevice(object, slot));
    EXPECT_STREQ("Unknown", slot.Name);
    EXPECT_NE(NVAPI_OK, NvAPI_Initialize());

    ExpectDetectionTouchesNoSlot();
}

}  // namespace
