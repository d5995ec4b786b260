#include "dialog/DeviceList.h"

#include "dialog/Resource.h"
#include "gpu/SlotName.h"
#include "gpu/SlotNames.h"

void FillDeviceList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_DEVICE_LIST);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    NameUnnamedSlots(g_WorkConfig.Devices);
    for (const DEVICECFG& slot : g_WorkConfig.Devices) {
        char name[kSlotNameSize];
        CopyName(name, slot.Name);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
}
