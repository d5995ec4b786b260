// The scan for lights on the simulated driver, with its debugger trace.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "gpu/DebugTrace.h"
#include "gpu/DeviceDetection.h"
#include "tests/common/DriverLog.h"
#include "tests/gpu/SimFixture.h"
#include "tests/gpu/TraceCapture.h"

namespace {

// What a slot shows after the scan. Slots start as kUntouched, enabled, on channel Right.
struct SlotView {
    uint32_t display;
    uint32_t gpu;
    int32_t attribute;
    std::string name;
    bool operator==(const SlotView& o) const {
        return display == o.display && gpu == o.gpu && attribute == o.attribute && name == o.name;
    }
};

std::ostream& operator<<(std::ostream& out, const SlotView& s) {
    return out << "{" << s.display << "," << s.gpu << "," << s.attribute << ",\"" << s.name << "\"}";
}

const SlotView kUntouched = {99, 99, 7, "untouched"};
const SlotView kUnknownAfterFind = {99, 99, 7, "Unknown"};

struct DetectCase {
    const char* what;
    std::function<void()> scenario;
    unsigned count;
    std::vector<SlotView> slots;  // the first slots; the rest must stay untouched
    std::vector<std::string> traces;
    int lastDisplayTried;  // highest display index enumerated, -1 for none
};

std::string Trace(int slot, int display, int gpu, int attribute) {
    char line[64];
    std::snprintf(line, sizeof line, "DETECT DEVICE #%d DSP=%d GPU=%d ATR=%d\n", slot, display, gpu, attribute);
    return line;
}

int LastDisplayTried() {
    int last = -1;
    for (const NvSimCall& call : DriverCallsOf(kNvId_EnumNvidiaDisplayHandle)) last = std::max(last, int(call.index));
    return last;
}

// `count` single-colour illumination zones at 50 %.
std::vector<ZoneSpec> PlainZones(int count) {
    const ZoneSpec zone = {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {50}};
    return std::vector<ZoneSpec>(count, zone);
}

std::vector<DetectCase> Cases() {
    std::vector<DetectCase> cases;
    cases.push_back({"one GPU with the logo light only",
                     [] { AddDisplayOf({NvSim_AddGpu("Full", "Logo Board", 920, 1, 0)}); },
                     1,
                     {{0, 0, 0, "Logo Board"}, kUnknownAfterFind},
                     {Trace(0, 0, 0, 0)},
                     7});
    cases.push_back({"both lights fill two slots, logo first",
                     [] { AddDisplayOf({NvSim_AddGpu("Full", "Both Board", 920, 1, 1)}); },
                     2,
                     {{0, 0, 0, "Both Board"}, {0, 0, 1, "Both Board"}, kUnknownAfterFind},
                     {Trace(0, 0, 0, 0), Trace(1, 0, 0, 1)},
                     7});
    cases.push_back({"a GPU on two displays is found twice",
                     [] {
                         int gpu = NvSim_AddGpu("Full", "Shared Board", 920, 1, 0);
                         AddDisplayOf({gpu});
                         AddDisplayOf({gpu});
                     },
                     2,
                     {{0, 0, 0, "Shared Board"}, {1, 0, 0, "Shared Board"}, kUnknownAfterFind},
                     {Trace(0, 0, 0, 0), Trace(1, 1, 0, 0)},
                     7});
    cases.push_back({"the scan ends when the eighth slot is filled",
                     [] {
                         std::vector<int> gpus;
                         for (int i = 0; i < 5; ++i)
                             gpus.push_back(NvSim_AddGpu("Full", "Board", 920, 1, 1));
                         NvSim_AddDisplay(gpus.data(), 5);
                         AddDisplayOf({gpus[0]});
                     },
                     8,
                     {{0, 0, 0, "Board"}, {0, 0, 1, "Board"}, {0, 1, 0, "Board"}, {0, 1, 1, "Board"},
                      {0, 2, 0, "Board"}, {0, 2, 1, "Board"}, {0, 3, 0, "Board"}, {0, 3, 1, "Board"}},
                     {Trace(0, 0, 0, 0), Trace(1, 0, 0, 1), Trace(2, 0, 1, 0), Trace(3, 0, 1, 1), Trace(4, 0, 2, 0),
                      Trace(5, 0, 2, 1), Trace(6, 0, 3, 0), Trace(7, 0, 3, 1)},
                     0});
    cases.push_back({"a board with zones only fills a zone slot",
                     [] { AddDisplayOf({AddZoneBoard("Zone Board", PlainZones(3))}); },
                     1,
                     {{0, 0, 2, "Zone Board"}, kUnknownAfterFind},
                     {Trace(0, 0, 0, 2)},
                     7});
    cases.push_back({"logo and zones: the logo first, the zones after it",
                     [] { AddDisplayOf({AddZoneBoard("Lit Board", PlainZones(1), true)}); },
                     2,
                     {{0, 0, 0, "Lit Board"}, {0, 0, 2, "Lit Board"}, kUnknownAfterFind},
                     {Trace(0, 0, 0, 0), Trace(1, 0, 0, 2)},
                     7});
    cases.push_back({"zones reach the eighth slot and end the scan",
                     [] {
                         std::vector<int> gpus;
                         for (int i = 0; i < 9; ++i) gpus.push_back(AddZoneBoard("Zone Board", PlainZones(2)));
                         NvSim_AddDisplay(gpus.data(), 9);
                     },
                     8,
                     {{0, 0, 2, "Zone Board"}, {0, 1, 2, "Zone Board"}, {0, 2, 2, "Zone Board"},
                      {0, 3, 2, "Zone Board"}, {0, 4, 2, "Zone Board"}, {0, 5, 2, "Zone Board"},
                      {0, 6, 2, "Zone Board"}, {0, 7, 2, "Zone Board"}},
                     {Trace(0, 0, 0, 2), Trace(1, 0, 1, 2), Trace(2, 0, 2, 2), Trace(3, 0, 3, 2),
                      Trace(4, 0, 4, 2), Trace(5, 0, 5, 2), Trace(6, 0, 6, 2), Trace(7, 0, 7, 2)},
                     0});
    cases.push_back({"Initialize fails: nothing is touched",
                     [] {
                         AddDisplayOf({NvSim_AddGpu("Full", "Logo Board", 920, 1, 0)});
                         NvSim_FailCall(kNvId_Initialize, NVAPI_NVIDIA_DEVICE_NOT_FOUND);
                     },
                     0,
                     {},
                     {},
                     -1});
    cases.push_back({"no interface version: nothing is touched",
                     [] {
                         AddDisplayOf({NvSim_AddGpu("Full", "Logo Board", 920, 1, 0)});
                         NvSim_FailCall(kNvId_GetInterfaceVersionString, NVAPI_ERROR);
                     },
                     0,
                     {},
                     {},
                     -1});
    cases.push_back({"a later GPU without lights leaves its pair in the first unfilled slot",
                     [] {
                         AddDisplayOf({NvSim_AddGpu("Full", "Logo Board", 920, 1, 0)});
                         AddDisplayOf({NvSim_AddGpu("Full", "Dark Board", 920, 0, 0)});
                     },
                     1,
                     {{0, 0, 0, "Logo Board"}, {1, 0, 7, "Unknown"}},
                     {Trace(0, 0, 0, 0)},
                     7});
    cases.push_back({"display 7 with a dark GPU 7 leaves \"Unsupport\"",
                     [] {
                         for (int d = 0; d < 7; ++d) NvSim_AddDisplay(nullptr, 0);
                         std::vector<int> gpus;
                         for (int g = 0; g < 8; ++g) gpus.push_back(NvSim_AddGpu("Full", "Dark Board", 920, 0, 0));
                         NvSim_AddDisplay(gpus.data(), 8);
                     },
                     0,
                     {{7, 7, 7, "Unsupport"}},
                     {},
                     7});
    return cases;
}

DEVICECFG UntouchedSlot() {
    DEVICECFG slot = {};
    slot.Enable = 1;
    slot.Display = kUntouched.display;
    slot.GPU = kUntouched.gpu;
    slot.Attribute = kUntouched.attribute;
    slot.Channel = kChannelRight;
    std::strcpy(slot.Name, kUntouched.name.c_str());
    return slot;
}

class DetectionTest : public SimTest {};

TEST_F(DetectionTest, ScanCases) {
    for (const DetectCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        NvSim_Reset();
        c.scenario();
        DEVICECFG slots[kDeviceSlots];
        for (DEVICECFG& slot : slots) slot = UntouchedSlot();

        TraceCapture trace;
        EXPECT_EQ(c.count, DetectDevices(slots));

        for (int i = 0; i < kDeviceSlots; ++i) {
            SlotView expected = i < int(c.slots.size()) ? c.slots[i] : kUntouched;
            SlotView actual = {slots[i].Display, slots[i].GPU, slots[i].Attribute, slots[i].Name};
            EXPECT_EQ(expected, actual) << "slot " << i;
            // Detection never switches a light on or changes its channel.
            EXPECT_EQ(1, slots[i].Enable) << "slot " << i;
            EXPECT_EQ(kChannelRight, slots[i].Channel) << "slot " << i;
        }
        EXPECT_EQ(c.traces, trace.Lines());
        EXPECT_EQ(c.lastDisplayTried, LastDisplayTried());
    }
}

// The scan asks about each light with the record the set path uses, once per pair it selects.
TEST_F(DetectionTest, QueriesBothLightsOfEachSelectedGpu) {
    int gpu = NvSim_AddGpu("Full", "Logo Board", 920, 1, 0);
    AddDisplayOf({gpu});
    DEVICECFG slots[kDeviceSlots] = {};
    ASSERT_EQ(1u, DetectDevices(slots));
    std::vector<NvSimCall> queries = DriverCallsOf(kNvId_GPU_QueryIlluminationSupport);
    ASSERT_EQ(2u, queries.size());
    for (int a = 0; a < 2; ++a) {
        EXPECT_EQ(NvSim_GpuHandle(gpu), queries[a].handle);
        EXPECT_EQ(NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER, queries[a].version);
        EXPECT_EQ(a, queries[a].attribute);
    }
    EXPECT_EQ(0u, DriverCallsOf(kNvId_GPU_SetIllumination).size());
}

TEST(DebugTraceTest, SendsTheFormattedTextCutToTheBuffer) {
    TraceCapture trace;
    DebugTrace("slot %d of %s\n", 3, "eight");
    std::string longText(3000, 'x');
    DebugTrace("%s", longText.c_str());
    ASSERT_EQ(2u, trace.Lines().size());
    EXPECT_EQ("slot 3 of eight\n", trace.Lines()[0]);
    EXPECT_EQ(std::string(1023, 'x'), trace.Lines()[1]);
}

}  // namespace
