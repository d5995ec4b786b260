// The settings dialog's device list on a real window with a real combo box.
#include <cstring>
#include <string>

#include "dialog/DeviceList.h"
#include "dialog/Resource.h"
#include "settings/PluginCfg.h"
#include "tests/common/DriverLog.h"
#include "tests/gpu/SimFixture.h"

namespace {

class DeviceListTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        saved_ = g_WorkConfig;
        g_WorkConfig = PLUGINCFG{};
        window_ = CreateWindowExA(0, "STATIC", "device list host", WS_OVERLAPPED, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, window_);
        combo_ = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 200, 200, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DEVICE_LIST)),
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, combo_);
        // Whatever the list held before is replaced.
        SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("left over"));
    }
    void TearDown() override {
        DestroyWindow(window_);
        g_WorkConfig = saved_;
        SimTest::TearDown();
    }
    std::vector<std::string> Items() {
        std::vector<std::string> items;
        LRESULT count = SendMessageA(combo_, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[256] = {};
            SendMessageA(combo_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    static void SetSlot(int index, unsigned display, unsigned gpu, int attribute, const char* name) {
        DEVICECFG& slot = g_WorkConfig.Devices[index];
        slot.Display = display;
        slot.GPU = gpu;
        slot.Attribute = attribute;
        std::strcpy(slot.Name, name);
    }

    PLUGINCFG saved_;
    HWND window_ = nullptr;
    HWND combo_ = nullptr;
};

TEST_F(DeviceListTest, NamesEmptySlotsThenListsAllInSlotOrder) {
    AddDisplayOf({NvSim_AddGpu("Full A", "Board A", 920, 1, 0)});
    AddDisplayOf({NvSim_AddGpu("Full B", "Board B", 920, 1, 1)});
    SetSlot(0, 5, 0, 0, "Kept Name");  // named: not opened, although display 5 isn't there
    SetSlot(1, 0, 0, 0, "");
    SetSlot(2, 1, 0, 1, "");  // right after a success: the object must link again
    SetSlot(3, 0, 0, 1, "");
    SetSlot(4, 0, 9, 0, "");
    SetSlot(5, 3, 0, 0, "");
    std::memset(g_WorkConfig.Devices[6].Name, 'n', kSlotNameSize);  // no terminator
    SetSlot(7, 1, 0, 0, "");

    FillDeviceList(window_);

    const std::vector<std::string> expected = {"Kept Name", "Board A", "Board B",  "Unsupport",
                                               "Unknown",   "Unknown", std::string(63, 'n'), "Board B"};
    EXPECT_EQ(expected, Items());
    for (int i : {1, 2, 3, 4, 5, 7}) EXPECT_EQ(expected[i], g_WorkConfig.Devices[i].Name) << i;
    EXPECT_EQ(6u, DriverCallsOf(kNvId_Initialize).size());
    for (const NvSimCall& call : DriverCallsOf(kNvId_EnumNvidiaDisplayHandle)) EXPECT_NE(5u, call.index);
}

TEST_F(DeviceListTest, NamedSlotsMakeNoDriverCall) {
    AddDisplayOf({NvSim_AddGpu("Full A", "Board A", 920, 1, 0)});
    std::vector<std::string> names;
    for (int i = 0; i < kDeviceSlots; ++i) {
        names.push_back("Light " + std::to_string(i));
        SetSlot(i, 0, 0, 0, names.back().c_str());
    }
    FillDeviceList(window_);
    EXPECT_EQ(names, Items());
    EXPECT_EQ(0, NvSim_CallCount());
}

}  // namespace
