#include "gpu/SlotNames.h"

#include "gpu/OpenDevice.h"

void NameUnnamedSlots(DEVICECFG slots[kDeviceSlots]) {
    CNVGF object;
    for (int i = 0; i < kDeviceSlots; ++i) {
        DEVICECFG& slot = slots[i];
        if (slot.Name[0] != '\0') continue;
        OpenDevice(object, slot);
        // Released after each slot, so the next OpenDevice on this object can link again.
        if (object.hNvapi) object.Load(0);
    }
}
