// Opening a device slot: the three names it can end with, and what the object holds after.
#include <cstring>
#include <functional>

#include "gpu/OpenDevice.h"
#include "tests/gpu/SimFixture.h"

namespace {

DEVICECFG Slot(unsigned display, unsigned gpu, int attribute) {
    DEVICECFG slot = {};
    slot.Enable = 1;
    slot.Display = display;
    slot.GPU = gpu;
    slot.Attribute = attribute;
    slot.Channel = kChannelBoth;
    std::strcpy(slot.Name, "stale name");
    return slot;
}

class OpenDeviceTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        AddDisplayOf({NvSim_AddGpu("Full Name", "Logo Board", 905, 1, 0)});
    }
};

TEST_F(OpenDeviceTest, UsableLightIsNamedAfterTheAdapter) {
    CNVGF object;
    DEVICECFG slot = Slot(0, 0, kAttributeLogo);
    EXPECT_EQ(1, OpenDevice(object, slot));
    EXPECT_STREQ("Logo Board", slot.Name);
    EXPECT_STREQ("Glowmeter simulated NVAPI", object.szInterfaceVersion);
    EXPECT_EQ(NV_DISPLAY_DRIVER_VERSION_VER, object.driverVersion.version);
    EXPECT_STREQ("9.5", object.szDriverVersion);
    EXPECT_NE(nullptr, object.hNvapi);
    EXPECT_EQ(1, slot.Enable);
    EXPECT_EQ(kChannelBoth, slot.Channel);
    EXPECT_EQ(1, object.SetIllumination(kAttributeLogo, 10));
}

TEST_F(OpenDeviceTest, FailuresLeaveUnknownOrUnsupport) {
    struct Case {
        const char* what;
        DEVICECFG slot;
        std::function<void(CNVGF&)> arrange;
        const char* name;
        bool linked;
    };
    const Case cases[] = {
        {"GPU lacks the light", Slot(0, 0, kAttributeSli), [](CNVGF&) {}, "Unsupport", true},
        {"GPU beyond the count", Slot(0, 1, kAttributeLogo), [](CNVGF&) {}, "Unknown", true},
        {"display not there", Slot(3, 0, kAttributeLogo), [](CNVGF&) {}, "Unknown", true},
        {"driver version unreadable", Slot(0, 0, kAttributeLogo),
         [](CNVGF&) { NvSim_FailCall(kNvId_GetDisplayDriverVersion, NVAPI_ERROR); }, "Unknown", true},
        {"Initialize fails", Slot(0, 0, kAttributeLogo),
         [](CNVGF&) { NvSim_FailCall(kNvId_Initialize, NVAPI_NVIDIA_DEVICE_NOT_FOUND); }, "Unknown", false},
        {"no interface version", Slot(0, 0, kAttributeLogo),
         [](CNVGF&) { NvSim_FailCall(kNvId_GetInterfaceVersionString, NVAPI_ERROR); }, "Unknown", false},
        // An object still linked from an earlier open can't link again.
        {"object already linked", Slot(0, 0, kAttributeLogo), [](CNVGF& object) { object.Load(1); }, "Unknown", true},
    };
    for (const Case& c : cases) {
        CNVGF object;
        DEVICECFG slot = c.slot;
        c.arrange(object);
        EXPECT_EQ(0, OpenDevice(object, slot)) << c.what;
        EXPECT_STREQ(c.name, slot.Name) << c.what;
        EXPECT_EQ(c.linked, object.hNvapi != nullptr) << c.what;
        NvSim_FailCall(kNvId_Initialize, 0);
        NvSim_FailCall(kNvId_GetInterfaceVersionString, 0);
        NvSim_FailCall(kNvId_GetDisplayDriverVersion, 0);
    }
}

}  // namespace
