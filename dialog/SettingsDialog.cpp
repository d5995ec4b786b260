#include "dialog/SettingsDialog.h"

#include <commctrl.h>

#include <cstdio>

#include "dialog/AboutBox.h"
#include "dialog/DeviceList.h"
#include "gpu/DeviceDetection.h"
#include "settings/PluginCfg.h"

namespace {

// The device slot whose values the device controls show, and the number of lights the last
// scan found. Only one dialog runs at a time, so plain process-wide values suffice.
unsigned g_CurrentSlot = 0;
unsigned g_DetectedCount = 0;

constexpr int kStatusTextSize = 32;

const char* const kAttributeNames[] = {"Video Card", "SLI Cable", "Light Zones"};
const char* const kChannelNames[] = {"Disable", "Left", "Right", "Both"};

void ShowCheck(HWND dialog, int id, int32_t value) {
    CheckDlgButton(dialog, id, value ? BST_CHECKED : BST_UNCHECKED);
}

int32_t ReadCheck(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0; }

// An edit with its up-down: the up-down's arrows stay within low..high, typed text does not.
void ShowNumber(HWND dialog, int editId, int spinId, WORD low, WORD high, uint32_t value) {
    SendDlgItemMessageA(dialog, spinId, UDM_SETRANGE, 0, MAKELPARAM(high, low));
    SetDlgItemInt(dialog, editId, value, FALSE);
}

uint32_t ReadNumber(HWND dialog, int editId) { return GetDlgItemInt(dialog, editId, nullptr, FALSE); }

// A value outside the list selects nothing. The index is checked here, because a list
// asked to select an entry it doesn't have may keep its former selection.
void ShowSelection(HWND dialog, int listId, int32_t value) {
    const LRESULT count = SendDlgItemMessageA(dialog, listId, CB_GETCOUNT, 0, 0);
    const INT_PTR index = value >= 0 && value < count ? value : -1;
    SendDlgItemMessageA(dialog, listId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int32_t ReadSelection(HWND dialog, int listId) {
    return static_cast<int32_t>(SendDlgItemMessageA(dialog, listId, CB_GETCURSEL, 0, 0));
}

template <size_t Count>
void FillList(HWND dialog, int listId, const char* const (&names)[Count]) {
    SendDlgItemMessageA(dialog, listId, CB_RESETCONTENT, 0, 0);
    for (const char* name : names) SendDlgItemMessageA(dialog, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

void ShowControls(HWND dialog, unsigned slot) {
    const DEVICECFG& device = g_WorkConfig.Devices[slot];
    ShowCheck(dialog, IDC_AUTO_DETECT, g_WorkConfig.AutoDetect);
    ShowNumber(dialog, IDC_DECAY, IDC_DECAY_SPIN, 1, 8, g_WorkConfig.Decay);
    ShowCheck(dialog, IDC_PLAYER_ENABLE, g_WorkConfig.PlayerEnable);
    ShowNumber(dialog, IDC_PLAYER_WAIT, IDC_PLAYER_WAIT_SPIN, 5, 60, g_WorkConfig.PlayerWait);
    ShowCheck(dialog, IDC_DEVICE_ENABLE, device.Enable);
    ShowNumber(dialog, IDC_DISPLAY, IDC_DISPLAY_SPIN, 0, 8, device.Display);
    ShowNumber(dialog, IDC_GPU, IDC_GPU_SPIN, 0, 8, device.GPU);
    ShowSelection(dialog, IDC_ATTRIBUTE, device.Attribute);
    ShowSelection(dialog, IDC_CHANNEL, device.Channel);
}

// Reads the controls back as they stand; the next load of the settings checks the ranges.
void StoreControls(HWND dialog, unsigned slot) {
    DEVICECFG& device = g_WorkConfig.Devices[slot];
    g_WorkConfig.AutoDetect = ReadCheck(dialog, IDC_AUTO_DETECT);
    g_WorkConfig.Decay = ReadNumber(dialog, IDC_DECAY);
    g_WorkConfig.PlayerEnable = ReadCheck(dialog, IDC_PLAYER_ENABLE);
    g_WorkConfig.PlayerWait = ReadNumber(dialog, IDC_PLAYER_WAIT);
    device.Enable = ReadCheck(dialog, IDC_DEVICE_ENABLE);
    device.Display = ReadNumber(dialog, IDC_DISPLAY);
    device.GPU = ReadNumber(dialog, IDC_GPU);
    device.Attribute = ReadSelection(dialog, IDC_ATTRIBUTE);
    device.Channel = ReadSelection(dialog, IDC_CHANNEL);
}

// The device list names boards in full ("NVIDIA GeForce GTX 1080 ..."), which the list, as
// wide as the dialog's layout makes it, would cut: its drop-down is widened to the longest
// name, with room for the list's frame and a scroll bar. The control itself keeps its size.
void FitDropDownToNames(HWND dialog, int listId) {
    HWND list = GetDlgItem(dialog, listId);
    HDC dc = list ? GetDC(list) : nullptr;
    if (!dc) return;
    HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char name[kSlotNameSize];
        if (SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) >= kSlotNameSize) continue;
        const LRESULT length = SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
        SIZE size = {};
        if (length > 0 && GetTextExtentPoint32A(dc, name, static_cast<int>(length), &size) && size.cx > widest)
            widest = size.cx;
    }
    SelectObject(dc, before);
    ReleaseDC(list, dc);
    const int room = 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) + 4;
    SendMessageA(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + room), 0);
}

// With Auto Detect on, scans for lights into the working copy and reports the count.
void ShowDetection(HWND dialog) {
    char text[kStatusTextSize] = "";
    if (g_WorkConfig.AutoDetect) {
        g_DetectedCount = DetectDevices(g_WorkConfig.Devices);
        if (g_DetectedCount != 0) {
            std::snprintf(text, sizeof text, "%d device detected.", static_cast<int>(g_DetectedCount));
        } else {
            std::snprintf(text, sizeof text, "Not detected.");
        }
    }
    SetDlgItemTextA(dialog, IDC_DETECT_STATUS, text);
}

void OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, "Glowmeter");
    g_CurrentSlot = 0;
    ShowDetection(dialog);
    FillDeviceList(dialog);
    FitDropDownToNames(dialog, IDC_DEVICE_LIST);
    FillList(dialog, IDC_ATTRIBUTE, kAttributeNames);
    FillList(dialog, IDC_CHANNEL, kChannelNames);
    ShowSelection(dialog, IDC_DEVICE_LIST, static_cast<int32_t>(g_CurrentSlot));
    ShowControls(dialog, g_CurrentSlot);
    ShowWindow(dialog, SW_SHOW);
}

void OnClick(HWND dialog, HWND control) {
    if (!control) return;
    if (control == GetDlgItem(dialog, IDOK)) {
        StoreControls(dialog, g_CurrentSlot);
        EndDialog(dialog, 1);
    } else if (control == GetDlgItem(dialog, IDCANCEL)) {
        EndDialog(dialog, 0);
    } else if (control == GetDlgItem(dialog, IDC_ABOUT)) {
        ShowAboutBox(dialog);
    }
}

// Switching slots keeps the shown slot's edits. An index outside the eight slots (a list
// with no selection) keeps the current slot rather than reading past the working copy.
void OnSelectionChange(HWND dialog, HWND control) {
    if (!control || control != GetDlgItem(dialog, IDC_DEVICE_LIST)) return;
    const LRESULT index = SendMessageA(control, CB_GETCURSEL, 0, 0);
    StoreControls(dialog, g_CurrentSlot);
    if (index >= 0 && index < kDeviceSlots) g_CurrentSlot = static_cast<unsigned>(index);
    ShowControls(dialog, g_CurrentSlot);
}

void OnCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    switch (HIWORD(wParam)) {
        case BN_CLICKED:
            OnClick(dialog, control);
            break;
        case CBN_SELCHANGE:
            OnSelectionChange(dialog, control);
            break;
        default:
            break;
    }
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog);
            return 1;
        case WM_COMMAND:
            OnCommand(dialog, wParam, lParam);
            return 1;
        default:
            return 0;
    }
}
