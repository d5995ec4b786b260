#include "gpu/OpenDevice.h"

#include "gpu/SlotName.h"

int OpenDevice(CNVGF& object, DEVICECFG& slot) {
    CopyName(slot.Name, kNameUnknown);
    if (NvAPI_Initialize() != NVAPI_OK) return 0;
    if (NvAPI_GetInterfaceVersionString(object.szInterfaceVersion) != NVAPI_OK) return 0;
    object.driverVersion.version = NV_DISPLAY_DRIVER_VERSION_VER;
    if (!object.Load(1)) return 0;
    // From here on the object stays linked, whatever follows.
    if (!object.Select(slot.Display, slot.GPU)) return 0;
    CopyName(slot.Name, kNameUnsupport);
    if (!object.IsSupported(slot.Attribute)) return 0;
    CopyName(slot.Name, object.driverVersion.szAdapterString);
    // Zones are usable once the user's lighting is known: the sets start from it.
    return slot.Attribute == kAttributeZones ? object.ReadZones() : 1;
}
