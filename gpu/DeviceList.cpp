#include "gpu/OpenDevice.h"
#include "gpu/DeviceDetection.h"
#include "gpu/SlotName.h"

void FillDeviceList(HWND dialog) {
    HWND list = GetDlgItem(dialog, kDeviceListId);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    CNVGF object;
    for (DEVICECFG& slot : g_WorkConfig.Devices) {
        if (slot.Name[0] == '\0') {
            OpenDevice(object, slot);
            // Released after each slot, so the next OpenDevice on this object can link again.
            if (object.hNvapi) object.Load(0);
        }
        char name[kSlotNameSize];
        CopyName(name, slot.Name);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
}
