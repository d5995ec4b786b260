// The settings dialog and the About box, driven through Config as the host runs it: the
// dialog comes from the plug-in DLL's resources (a copy in a folder of its own, beside which
// the settings file lives), the code is the plug-in's own, the driver is the simulated one.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "plugin/Lifecycle.h"
#include "plugin/Render.h"
#include "settings/PluginCfg.h"
#include "dialog/Resource.h"
#include "tests/dialog/SettingsDialogDriver.h"
#include "tests/common/PluginCopy.h"
#include "tests/common/SettingsFile.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UnicodeFolder.h"
#include "tests/common/UnreadableFile.h"
#include "tools/nvapi_sim/NvapiSim.h"

namespace {

using namespace dialogtest;

// Settings every test starts from, in memory and in the file: all in range, every slot named
// so that listing the slots needs no driver call.
PLUGINCFG Baseline() {
    PLUGINCFG cfg = {};
    cfg.Decay = 4;
    cfg.PlayerEnable = 0;
    cfg.PlayerWait = 10;
    for (int i = 0; i < kDeviceSlots; ++i) {
        cfg.Devices[i].GPU = static_cast<uint32_t>(i);
        std::snprintf(cfg.Devices[i].Name, kSlotNameSize, "Slot %d", i);
    }
    return cfg;
}

struct SlotValues {
    int32_t Enable;
    uint32_t Display;
    uint32_t GPU;
    int32_t Attribute;
    int32_t Channel;
};

void ExpectSlot(const DEVICECFG& slot, const SlotValues& want, const char* what) {
    EXPECT_EQ(slot.Enable, want.Enable) << what;
    EXPECT_EQ(slot.Display, want.Display) << what;
    EXPECT_EQ(slot.GPU, want.GPU) << what;
    EXPECT_EQ(slot.Attribute, want.Attribute) << what;
    EXPECT_EQ(slot.Channel, want.Channel) << what;
}

// What the device controls show for the current slot.
void ExpectShown(HWND dialog, const SlotValues& want, const char* what) {
    EXPECT_EQ(Checked(dialog, IDC_DEVICE_ENABLE), want.Enable != 0) << what;
    EXPECT_EQ(Number(dialog, IDC_DISPLAY), want.Display) << what;
    EXPECT_EQ(Number(dialog, IDC_GPU), want.GPU) << what;
    EXPECT_EQ(Selection(dialog, IDC_ATTRIBUTE), want.Attribute) << what;
    EXPECT_EQ(Selection(dialog, IDC_CHANNEL), want.Channel) << what;
}

void Cancel(HWND dialog) {
    PostClick(dialog, IDCANCEL);
    EXPECT_TRUE(WaitUntilGone(dialog));
}

void Apply(HWND dialog) {
    PostClick(dialog, IDOK);
    EXPECT_TRUE(WaitUntilGone(dialog));
}

// Waits for the message box with this caption on the dialog's thread, checks its text and
// owner, and dismisses it.
void ExpectMessageBox(DWORD thread, const char* caption, const std::string& text, HWND owner) {
    HWND box = WaitForDialog(thread, caption);
    ASSERT_NE(box, nullptr) << caption;
    EXPECT_EQ(MessageBoxText(box), text);
    EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
    PostClick(box, IDOK);
    EXPECT_TRUE(WaitUntilGone(box));
}

class SettingsDialog : public ::testing::Test {
protected:
    // The host registers the common controls before any plug-in opens a dialog.
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
    }

    void SetUp() override {
        ASSERT_TRUE(folder.Ok());
        iniPath = folder.File("vis_glowmeter.ini");
        dll = LoadDllCopy(TempFolder::Wide(folder.Path()));
        ASSERT_NE(dll, nullptr);
        host = CreateWindowExA(0, "STATIC", "Host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        module.hwndParent = host;
        module.hDllInstance = dll;

        NvSim_Reset();
        UseSettings(Baseline());
    }

    void TearDown() override {
        Quit(&module);
        if (host) DestroyWindow(host);
        if (dll) FreeLibrary(dll);  // before the folder and the copy in it go
    }

    // The same settings in memory and in the file, so Config's reload changes nothing.
    void UseSettings(const PLUGINCFG& cfg) {
        g_LiveConfig = cfg;
        WriteSettingsFile(cfg, iniPath);
    }

    int FileInt(const char* section, const char* key) {
        return static_cast<int>(GetPrivateProfileIntA(section, key, -999, iniPath.c_str()));
    }

    TempFolder folder;
    std::string iniPath;
    HMODULE dll = nullptr;
    HWND host = nullptr;
    winampVisModule module = {};
    ConfigSession session;
};

// Display 0 reaches a GPU with both lights, display 1 one with the logo light only.
void ThreeLights() {
    const int both = NvSim_AddGpu("GeForce Both", "GeForce Both", 920, 1, 1);
    const int logo = NvSim_AddGpu("GeForce Logo", "GeForce Logo", 920, 1, 0);
    NvSim_AddDisplay(&both, 1);
    NvSim_AddDisplay(&logo, 1);
}

TEST_F(SettingsDialog, AutoDetectScansOnOpeningAndReportsTheCount) {
    struct Row {
        const char* name;
        int32_t autoDetect;
        bool lights;
        const char* status;
        const char* firstEntries[4];  // the device list after the scan
    };
    const Row rows[] = {
        {"off, lights present", 0, true, "", {"Slot 0", "Slot 1", "Slot 2", "Slot 3"}},
        {"on, three lights", 1, true, "3 device detected.",
         {"GeForce Both", "GeForce Both", "GeForce Logo", "Unknown"}},
        {"on, no lights", 1, false, "Not detected.", {"Unknown", "Slot 1", "Slot 2", "Slot 3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NvSim_Reset();
        if (row.lights) ThreeLights();
        PLUGINCFG cfg = Baseline();
        cfg.AutoDetect = row.autoDetect;
        UseSettings(cfg);
        const PLUGINCFG before = g_LiveConfig;

        session.Run(module, [&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_DETECT_STATUS), row.status);
            EXPECT_EQ(Checked(dialog, IDC_AUTO_DETECT), row.autoDetect != 0);
            for (int i = 0; i < 4; ++i) EXPECT_EQ(ListEntry(dialog, IDC_DEVICE_LIST, i), row.firstEntries[i]) << i;
            EXPECT_EQ(Selection(dialog, IDC_DEVICE_LIST), 0);
            Cancel(dialog);
        });

        if (!row.autoDetect) {
            EXPECT_EQ(NvSim_CallCount(), 0) << "no scan, no driver call";
        }
        EXPECT_EQ(std::memcmp(&g_LiveConfig, &before, sizeof before), 0) << "the scan fills the working copy only";
    }
}

TEST_F(SettingsDialog, ScannedLightsShowInTheDeviceControls) {
    ThreeLights();
    PLUGINCFG cfg = Baseline();
    cfg.AutoDetect = 1;
    cfg.Devices[1].Enable = 1;
    cfg.Devices[1].Channel = kChannelRight;
    UseSettings(cfg);

    session.Run(module, [&](HWND dialog) {
        ExpectShown(dialog, {0, 0, 0, kAttributeLogo, kChannelDisable}, "slot 0: logo light");
        Choose(dialog, IDC_DEVICE_LIST, 1);
        // The scan fills the light, not the user's choices of Enable and Channel.
        ExpectShown(dialog, {1, 0, 0, kAttributeSli, kChannelRight}, "slot 1: SLI light of the same GPU");
        Choose(dialog, IDC_DEVICE_LIST, 2);
        ExpectShown(dialog, {0, 1, 0, kAttributeLogo, kChannelDisable}, "slot 2: the GPU of display 1");
        Cancel(dialog);
    });
}

TEST_F(SettingsDialog, EditsSurviveSwitchingSlotsAndApplyKeepsThem) {
    session.Run(module, [&](HWND dialog) {
        ExpectShown(dialog, {0, 0, 0, 0, 0}, "slot 0 as loaded");
        EXPECT_EQ(Number(dialog, IDC_DECAY), 4u);
        EXPECT_EQ(Number(dialog, IDC_PLAYER_WAIT), 10u);
        EXPECT_FALSE(Checked(dialog, IDC_PLAYER_ENABLE));

        // Slot 0 and the global values.
        Click(dialog, IDC_DEVICE_ENABLE);
        SetDlgItemInt(dialog, IDC_DISPLAY, 1, FALSE);
        SetDlgItemInt(dialog, IDC_GPU, 5, FALSE);
        Choose(dialog, IDC_ATTRIBUTE, kAttributeSli);
        Choose(dialog, IDC_CHANNEL, kChannelRight);
        SetDlgItemInt(dialog, IDC_DECAY, 6, FALSE);
        Click(dialog, IDC_PLAYER_ENABLE);
        SetDlgItemInt(dialog, IDC_PLAYER_WAIT, 30, FALSE);

        Choose(dialog, IDC_DEVICE_LIST, 2);
        ExpectShown(dialog, {0, 0, 2, 0, 0}, "slot 2 as loaded");
        EXPECT_EQ(Number(dialog, IDC_DECAY), 6u) << "global edits stay";
        EXPECT_TRUE(Checked(dialog, IDC_PLAYER_ENABLE));
        EXPECT_EQ(Number(dialog, IDC_PLAYER_WAIT), 30u);
        SetDlgItemInt(dialog, IDC_DISPLAY, 3, FALSE);
        SetDlgItemInt(dialog, IDC_GPU, 7, FALSE);
        Choose(dialog, IDC_CHANNEL, kChannelBoth);

        Choose(dialog, IDC_DEVICE_LIST, 0);
        ExpectShown(dialog, {1, 1, 5, kAttributeSli, kChannelRight}, "slot 0 keeps its edits");
        Choose(dialog, IDC_DEVICE_LIST, 2);
        ExpectShown(dialog, {0, 3, 7, kAttributeLogo, kChannelBoth}, "slot 2 keeps its edits");
        Apply(dialog);
    });

    for (const PLUGINCFG* cfg : {&g_WorkConfig, &g_LiveConfig}) {
        SCOPED_TRACE(cfg == &g_WorkConfig ? "working copy" : "live settings");
        ExpectSlot(cfg->Devices[0], {1, 1, 5, kAttributeSli, kChannelRight}, "slot 0");
        ExpectSlot(cfg->Devices[2], {0, 3, 7, kAttributeLogo, kChannelBoth}, "slot 2");
        ExpectSlot(cfg->Devices[1], {0, 0, 1, 0, 0}, "slot 1 untouched");
        EXPECT_EQ(cfg->Decay, 6u);
        EXPECT_EQ(cfg->PlayerEnable, 1);
        EXPECT_EQ(cfg->PlayerWait, 30u);
    }
    // Saved to the file beside the DLL.
    EXPECT_EQ(FileInt("DEVICE0", "Enable"), 1);
    EXPECT_EQ(FileInt("DEVICE0", "GPU"), 5);
    EXPECT_EQ(FileInt("DEVICE0", "Attribute"), kAttributeSli);
    EXPECT_EQ(FileInt("DEVICE2", "Display"), 3);
    EXPECT_EQ(FileInt("DEVICE2", "Channel"), kChannelBoth);
    EXPECT_EQ(FileInt("GLOBAL", "Decay"), 6);
    EXPECT_EQ(FileInt("HALOSEQ", "Wait"), 30);
}

TEST_F(SettingsDialog, CancelAfterEditsChangesNeitherLiveSettingsNorFile) {
    const PLUGINCFG before = g_LiveConfig;
    const std::string fileBefore = TempFolder::ReadBytes(iniPath);
    ASSERT_FALSE(fileBefore.empty());

    session.Run(module, [&](HWND dialog) {
        Click(dialog, IDC_AUTO_DETECT);
        Click(dialog, IDC_DEVICE_ENABLE);
        SetDlgItemInt(dialog, IDC_DECAY, 2, FALSE);
        Choose(dialog, IDC_DEVICE_LIST, 1);  // stores slot 0 into the working copy
        SetDlgItemInt(dialog, IDC_GPU, 6, FALSE);
        Cancel(dialog);
    });

    EXPECT_EQ(std::memcmp(&g_LiveConfig, &before, sizeof before), 0);
    EXPECT_EQ(TempFolder::ReadBytes(iniPath), fileBefore);
}

// The arrows stay within each up-down's range; typed values are stored as typed.
TEST_F(SettingsDialog, UpDownsKeepTheirRangesButTypedValuesPass) {
    struct Row { int edit, spin; unsigned low, high; };
    const Row rows[] = {
        {IDC_DECAY, IDC_DECAY_SPIN, 1, 8},
        {IDC_PLAYER_WAIT, IDC_PLAYER_WAIT_SPIN, 5, 60},
        {IDC_DISPLAY, IDC_DISPLAY_SPIN, 0, 8},
        {IDC_GPU, IDC_GPU_SPIN, 0, 8},
    };
    session.Run(module, [&](HWND dialog) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.edit);
            const LRESULT range = SendDlgItemMessageA(dialog, row.spin, UDM_GETRANGE, 0, 0);
            EXPECT_EQ(HIWORD(range), row.low);
            EXPECT_EQ(LOWORD(range), row.high);
            HWND edit = GetDlgItem(dialog, row.edit);
            SetDlgItemInt(dialog, row.edit, row.high, FALSE);
            SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
            EXPECT_EQ(Number(dialog, row.edit), row.high) << "arrow up at the top";
            SetDlgItemInt(dialog, row.edit, row.low, FALSE);
            SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
            EXPECT_EQ(Number(dialog, row.edit), row.low) << "arrow down at the bottom";
            SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
            EXPECT_EQ(Number(dialog, row.edit), row.low + 1) << "arrow up inside the range";
        }
        SetDlgItemInt(dialog, IDC_DECAY, 0, FALSE);
        SetDlgItemInt(dialog, IDC_PLAYER_WAIT, 70, FALSE);
        SetDlgItemInt(dialog, IDC_DISPLAY, 99, FALSE);
        SetDlgItemTextA(dialog, IDC_GPU, "");  // no number reads as 0
        Apply(dialog);
    });
    EXPECT_EQ(g_WorkConfig.Decay, 0u);
    EXPECT_EQ(g_WorkConfig.PlayerWait, 70u);
    EXPECT_EQ(g_WorkConfig.Devices[0].Display, 99u);
    EXPECT_EQ(g_WorkConfig.Devices[0].GPU, 0u);
}

TEST_F(SettingsDialog, ValuesOutsideTheListsShowNoSelectionAndStoreMinusOne) {
    PLUGINCFG cfg = Baseline();
    cfg.Devices[1].Attribute = 5;
    cfg.Devices[1].Channel = 9;
    cfg.Devices[2].Attribute = kAttributeZones;
    UseSettings(cfg);

    session.Run(module, [&](HWND dialog) {
        // The lists hold their entries in code order.
        const char* attributes[] = {"Video Card", "SLI Cable", "Light Zones"};
        const char* channels[] = {"Disable", "Left", "Right", "Both"};
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ATTRIBUTE, CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CHANNEL, CB_GETCOUNT, 0, 0), 4);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ListEntry(dialog, IDC_ATTRIBUTE, i), attributes[i]);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(ListEntry(dialog, IDC_CHANNEL, i), channels[i]);

        EXPECT_EQ(Selection(dialog, IDC_ATTRIBUTE), 0) << "slot 0 selects its entries";
        Choose(dialog, IDC_DEVICE_LIST, 1);
        EXPECT_EQ(Selection(dialog, IDC_ATTRIBUTE), -1);
        EXPECT_EQ(Selection(dialog, IDC_CHANNEL), -1);
        Choose(dialog, IDC_DEVICE_LIST, 2);
        EXPECT_EQ(Selection(dialog, IDC_ATTRIBUTE), kAttributeZones);
        Apply(dialog);
    });
    EXPECT_EQ(g_WorkConfig.Devices[1].Attribute, -1);
    EXPECT_EQ(g_WorkConfig.Devices[1].Channel, -1);
    EXPECT_EQ(FileInt("DEVICE1", "Attribute"), -1);
    EXPECT_EQ(FileInt("DEVICE1", "Channel"), -1);
    EXPECT_EQ(FileInt("DEVICE2", "Attribute"), kAttributeZones) << "\"Light Zones\" is saved back as 2";
}

// A device list left without a selection names no slot: the shown slot stays current.
TEST_F(SettingsDialog, DeviceListWithoutSelectionKeepsTheCurrentSlot) {
    session.Run(module, [&](HWND dialog) {
        Choose(dialog, IDC_DEVICE_LIST, 2);
        SetDlgItemInt(dialog, IDC_GPU, 6, FALSE);
        Choose(dialog, IDC_DEVICE_LIST, -1);
        EXPECT_EQ(Number(dialog, IDC_GPU), 6u);
        SetDlgItemInt(dialog, IDC_DISPLAY, 4, FALSE);
        Apply(dialog);
    });
    ExpectSlot(g_WorkConfig.Devices[2], {0, 4, 6, 0, 0}, "slot 2");
    ExpectSlot(g_WorkConfig.Devices[0], {0, 0, 0, 0, 0}, "slot 0");
}

// Also from a copy of the DLL in a folder named in Cyrillic and CJK letters, as Winamp may sit
// in any folder: the box reads the version data of the file the dialog came from.
TEST_F(SettingsDialog, AboutShowsNameVersionAndLegalNotice) {
    const std::wstring unicodeFolder = TempFolder::Wide(folder.Path()) + L"\\" + kUnicodeFolderName;
    ASSERT_TRUE(CreateDirectoryW(unicodeFolder.c_str(), nullptr));
    HMODULE unicodeCopy = LoadDllCopy(unicodeFolder);
    ASSERT_NE(unicodeCopy, nullptr);

    for (HMODULE copy : {dll, unicodeCopy}) {
        SCOPED_TRACE(copy == dll ? "plain folder" : "Unicode folder");
        module.hDllInstance = copy;
        session.Run(module, [&](HWND dialog) {
            PostClick(dialog, IDC_ABOUT);
            ExpectMessageBox(session.configThread, "About",
                             "Glowmeter \r\nVersion 1.03\r\n\r\nCopyright (C) 2026 Glowmeter contributors", dialog);
            EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";
            Cancel(dialog);
        });
    }
    module.hDllInstance = dll;
    FreeLibrary(unicodeCopy);
}

// Board names are longer than the device list is wide: its drop-down fits the longest name,
// while the list itself keeps the dialog's layout (102 dialog units).
TEST_F(SettingsDialog, DeviceDropDownFitsTheLongestName) {
    struct Row { const char* longest; bool wider; };
    const Row rows[] = {{"Slot 0", false}, {"NVIDIA GeForce GTX 1080 Ti Founders Edition (simulated)", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.longest);
        PLUGINCFG cfg = Baseline();
        std::snprintf(cfg.Devices[3].Name, kSlotNameSize, "%s", row.longest);
        UseSettings(cfg);
        session.Run(module, [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_DEVICE_LIST);
            RECT layout = {0, 0, 102, 0};
            MapDialogRect(dialog, &layout);
            RECT shown = {};
            GetWindowRect(list, &shown);
            EXPECT_EQ(shown.right - shown.left, layout.right) << "the list keeps its width";

            HDC dc = GetDC(list);
            HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
            SIZE text = {};
            GetTextExtentPoint32A(dc, row.longest, static_cast<int>(std::strlen(row.longest)), &text);
            SelectObject(dc, before);
            ReleaseDC(list, dc);
            const LRESULT dropped = SendMessageA(list, CB_GETDROPPEDWIDTH, 0, 0);
            EXPECT_GT(dropped, text.cx) << "the longest name fits";
            if (row.wider) {
                EXPECT_GT(dropped, layout.right);
            } else {
                EXPECT_EQ(dropped, layout.right) << "short names: as wide as the list";
            }
            Cancel(dialog);
        });
    }
}

TEST_F(SettingsDialog, SecondConfigWhileOpenReturnsAtOnce) {
    session.Run(module, [&](HWND dialog) {
        struct Second {
            winampVisModule* module;
            static DWORD WINAPI Run(LPVOID self) {
                Config(static_cast<Second*>(self)->module);
                return 0;
            }
        } second = {&module};
        DWORD threadId = 0;
        HANDLE thread = CreateThread(nullptr, 0, &Second::Run, &second, 0, &threadId);
        ASSERT_NE(thread, nullptr);
        const DWORD waited = WaitForSingleObject(thread, 3000);
        EXPECT_EQ(waited, WAIT_OBJECT_0) << "a second dialog opened";
        if (waited != WAIT_OBJECT_0) {
            EndAllDialogs(threadId);
            WaitForSingleObject(thread, kWindowWaitMs);
        }
        CloseHandle(thread);
        Cancel(dialog);
    });
    // Once the first dialog has closed, Config opens one again.
    session.Run(module, [&](HWND dialog) { Cancel(dialog); });
}

// A settings file that can be read but not written: the Apply is reported, the file stays.
TEST_F(SettingsDialog, ApplyWithUnwritableFileReportsTheSaveError) {
    const std::string fileBefore = TempFolder::ReadBytes(iniPath);
    ASSERT_TRUE(SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_READONLY));
    // Another program may read the file, but keeps anyone from replacing or writing it.
    HANDLE holder = CreateFileA(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    session.Run(module, [&](HWND dialog) {
        SetDlgItemInt(dialog, IDC_DECAY, 7, FALSE);
        Apply(dialog);
        ExpectMessageBox(session.configThread, "ERROR", "Save config error.", host);
    });
    CloseHandle(holder);
    EXPECT_EQ(TempFolder::ReadBytes(iniPath), fileBefore);
    EXPECT_FALSE(TempFolder::Exists(iniPath + ".tmp")) << "a copy was left behind";
}

// A settings file that is there but can't be read must not pass for a missing one: the
// dialog would open on defaults, and Apply would save them over the user's lights.
TEST_F(SettingsDialog, UnreadableFileIsReportedAndNeverOverwritten) {
    for (const UnreadableCase& row : kUnreadableCases) {
        SCOPED_TRACE(row.name);
        PLUGINCFG cfg = Baseline();
        cfg.Decay = 6;
        UseSettings(cfg);
        const std::string fileBefore = TempFolder::ReadBytes(iniPath);
        UnreadableFile unreadable(iniPath, row.kind);
        ASSERT_TRUE(unreadable.Made());

        session.Run(
            module,
            [&](HWND dialog) {
                EXPECT_EQ(Number(dialog, IDC_DECAY), 6u) << "the settings as they stood";
                Apply(dialog);
                ExpectMessageBox(session.configThread, "ERROR", "Save config error.", host);
            },
            [&] { ExpectMessageBox(session.configThread, "ERROR", "Load config error.", host); });

        unreadable.LetGo();
        if (unreadable.IsFolder()) {
            EXPECT_TRUE(unreadable.FolderStands());
        } else {
            EXPECT_EQ(TempFolder::ReadBytes(iniPath), fileBefore);
        }
        EXPECT_FALSE(TempFolder::Exists(iniPath + ".tmp")) << "a copy was left behind";
    }
}

}  // namespace
