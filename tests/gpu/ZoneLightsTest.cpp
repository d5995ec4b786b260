// The illumination zones of current boards as one light ("Light Zones", Attribute 2) on the
// simulated driver: when a GPU has them, how a slot opens and names them, and that the user's
// own lighting comes back.
#include <cstring>
#include <string>
#include <vector>

#include "gpu/OpenDevice.h"
#include "tests/common/DriverLog.h"
#include "tests/gpu/SimFixture.h"

namespace {

// A zone of each type with a colour of its own; the RGB one cycles (piecewise linear).
const std::vector<ZoneSpec> kZones = {
    {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {255, 40, 10, 90}},
    {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGBW, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {1, 2, 3, 4, 80}},
    {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_COLOR_FIXED, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {70}},
    {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {60}},
    {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB, NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR, {0, 128, 255, 50, 9, 9}},
};

bool SameZones(const std::vector<NvSimZone>& a, const std::vector<NvSimZone>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(NvSimZone)) == 0;
}

DEVICECFG ZoneSlot() {
    DEVICECFG slot = {};
    slot.Attribute = kAttributeZones;
    return slot;
}

class ZoneLightsTest : public SimTest {
protected:
    // A board with the five zones, their lighting as it stood, and an object opened on it.
    void OpenBoard() {
        gpu = AddZoneBoard("Zone Board", kZones);
        AddDisplayOf({gpu});
        before = ZonesOf(gpu);
        ASSERT_EQ(OpenDevice(object, slot), 1);
    }

    int gpu = -1;
    std::vector<NvSimZone> before;
    CNVGF object;
    DEVICECFG slot = ZoneSlot();
};

TEST_F(ZoneLightsTest, ZonesAreALightWhenTheBoardReportsAny) {
    struct Row {
        const char* what;
        std::vector<ZoneSpec> zones;
        int32_t failInfo;  // forced status of GetInfo
        int supported;
        const char* name;
    };
    const Row rows[] = {
        {"five zones", kZones, 0, 1, "Zone Board"},
        {"one zone", {kZones[2]}, 0, 1, "Zone Board"},
        {"no zones", {}, 0, 0, "Unsupport"},
        {"GetInfo fails", kZones, NVAPI_NOT_SUPPORTED, 0, "Unsupport"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        NvSim_Reset();
        AddDisplayOf({AddZoneBoard("Zone Board", row.zones)});
        NvSim_FailCall(kNvId_GPU_ClientIllumZonesGetInfo, row.failInfo);
        CNVGF object;
        DEVICECFG slot = ZoneSlot();
        EXPECT_EQ(OpenDevice(object, slot), row.supported);
        EXPECT_STREQ(slot.Name, row.name);
        EXPECT_EQ(object.IsSupported(kAttributeZones), row.supported);
        // The older lights' query never hears of attribute 2.
        for (const NvSimCall& call : DriverCallsOf(kNvId_GPU_QueryIlluminationSupport)) EXPECT_NE(call.attribute, 2);
        for (const NvSimCall& call : DriverCallsOf(kNvId_GPU_ClientIllumZonesGetInfo))
            EXPECT_EQ(call.version, NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_VER);
    }
}

// A set is a support query and one write; each zone keeps its colour (the cycling one the
// colour of its first end point) in manual mode at the new brightness.
TEST_F(ZoneLightsTest, ASetChangesOnlyTheBrightnessOfEveryZone) {
    ASSERT_NO_FATAL_FAILURE(OpenBoard());
    NvSim_ClearCalls();

    ASSERT_EQ(object.SetIllumination(kAttributeZones, 42), 1);
    const std::vector<NvSimCall> calls = DriverCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].id, kNvId_GPU_ClientIllumZonesGetInfo);
    EXPECT_EQ(calls[1].id, kNvId_GPU_ClientIllumZonesSetControl);
    EXPECT_EQ(calls[1].version, NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_VER);
    EXPECT_EQ(calls[1].index, 0u) << "bDefault set";
    EXPECT_EQ(calls[1].value, 42u);

    const std::vector<NvSimZone> after = ZonesOf(gpu);
    ASSERT_EQ(after.size(), kZones.size());
    const size_t brightnessAt[] = {3, 4, 0, 0, 3};
    for (size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(after[i].mode, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL);
        EXPECT_EQ(after[i].data[brightnessAt[i]], 42);
        for (size_t b = 0; b < brightnessAt[i]; ++b) EXPECT_EQ(after[i].data[b], before[i].data[b]) << "colour byte " << b;
    }
}

// The end of the run gives the zones back as they were read, mode and colours byte for byte;
// a driver that refuses is no crash, and the next opening reads what the board then holds.
TEST_F(ZoneLightsTest, RestoreGivesBackTheUsersLightingOnce) {
    ASSERT_NO_FATAL_FAILURE(OpenBoard());
    ASSERT_EQ(object.SetIllumination(kAttributeZones, 10), 1);
    ASSERT_FALSE(SameZones(ZonesOf(gpu), before));
    EXPECT_EQ(object.RestoreZones(), 1);
    EXPECT_TRUE(SameZones(ZonesOf(gpu), before));
    EXPECT_EQ(object.RestoreZones(), 0) << "given back twice";

    object.Load(0);  // a fresh opening, as the next run's
    ASSERT_EQ(OpenDevice(object, slot), 1);
    ASSERT_EQ(object.SetIllumination(kAttributeZones, 20), 1);
    NvSim_FailCall(kNvId_GPU_ClientIllumZonesSetControl, NVAPI_ERROR);
    EXPECT_EQ(object.RestoreZones(), 0);
    NvSim_FailCall(kNvId_GPU_ClientIllumZonesSetControl, 0);
    const std::vector<NvSimZone> left = ZonesOf(gpu);
    object.Load(0);
    ASSERT_EQ(OpenDevice(object, slot), 1);
    ASSERT_EQ(object.SetIllumination(kAttributeZones, 30), 1);
    EXPECT_EQ(object.RestoreZones(), 1);
    EXPECT_TRUE(SameZones(ZonesOf(gpu), left));

    // Without a read, nothing is set and nothing is given back.
    CNVGF unopened;
    EXPECT_EQ(unopened.RestoreZones(), 0);
}

// A zone light opened but never set (a disabled slot, music that never came) writes nothing
// at the end: the user may have changed the lighting meanwhile in other software.
TEST_F(ZoneLightsTest, ALightNeverSetWritesNothingBack) {
    ASSERT_NO_FATAL_FAILURE(OpenBoard());
    NvSim_ClearCalls();
    EXPECT_EQ(object.RestoreZones(), 1);
    EXPECT_TRUE(DriverCallsOf(kNvId_GPU_ClientIllumZonesSetControl).empty());
    EXPECT_TRUE(SameZones(ZonesOf(gpu), before));
    EXPECT_EQ(object.RestoreZones(), 0) << "given back twice";
}

}  // namespace
