// A machine without an NVIDIA driver: the system folder holds no driver library (the
// fixture takes the simulated one out for this program), so every way to the driver fails
// and nothing may be touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "gpu/OpenDevice.h"
#include "gpu/DeviceDetection.h"
#include "support/SystemLibrary.h"
#include "tests/gpu/DetectionChecks.h"

namespace {

TEST(NoDriver, TheLibraryIsReallyMissing) {
    char path[kSystemLibraryPathSize];
    ASSERT_TRUE(SystemLibraryPath(NVAPI_LIBRARY_NAME, path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path)) << path;
    EXPECT_EQ(nullptr, LoadLibraryA(NVAPI_LIBRARY_NAME));
}

TEST(NoDriver, EveryOperationReportsTheMissingLibrary) {
    NvDisplayHandle display = nullptr;
    NV_GPU_SET_ILLUMINATION_PARM set = {};
    set.version = NV_GPU_SET_ILLUMINATION_PARM_VER;
    EXPECT_EQ(NVAPI_LIBRARY_NOT_FOUND, NvAPI_Initialize());
    EXPECT_EQ(NVAPI_LIBRARY_NOT_FOUND, NvAPI_EnumNvidiaDisplayHandle(0, &display));
    EXPECT_EQ(NVAPI_LIBRARY_NOT_FOUND, NvAPI_GPU_SetIllumination(&set));
    EXPECT_EQ(nullptr, display);
}

TEST(NoDriver, OpenDeviceNamesTheSlotUnknown) {
    CNVGF object;
    DEVICECFG slot = {};
    std::strcpy(slot.Name, "stale");
    EXPECT_EQ(0, OpenDevice(object, slot));
    EXPECT_STREQ("Unknown", slot.Name);
    EXPECT_EQ(nullptr, object.hNvapi);
    EXPECT_EQ(0, object.Load(1));
    EXPECT_EQ(nullptr, object.hNvapi);
    EXPECT_EQ(0, object.SetIllumination(0, 50));
}

TEST(NoDriver, DetectionFindsNothingAndTouchesNoSlot) {
    ExpectDetectionTouchesNoSlot();
}

}  // namespace
