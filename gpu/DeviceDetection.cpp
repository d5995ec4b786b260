#include "gpu/DeviceDetection.h"

#include "gpu/CNVGF.h"
#include "gpu/DebugTrace.h"
#include "gpu/SlotName.h"

namespace {

constexpr unsigned kScanDisplays = 8;
constexpr unsigned kScanGpus = 8;
// The logo and SLI lights first, as boards have had them; the zones of current boards after.
constexpr int kAttributes[] = {kAttributeLogo, kAttributeSli, kAttributeZones};

// Tries every display and GPU index, also past what the driver reports, and fills slots
// from the first on, one per light found; stops as soon as all slots are filled.
unsigned Scan(CNVGF& object, DEVICECFG slots[kDeviceSlots]) {
    unsigned count = 0;
    for (unsigned d = 0; d < kScanDisplays; ++d) {
        for (unsigned g = 0; g < kScanGpus; ++g) {
            DEVICECFG& next = slots[count];
            CopyName(next.Name, kNameUnknown);
            if (!object.Select(d, g)) continue;
            next.Display = d;
            next.GPU = g;
            CopyName(next.Name, kNameUnsupport);
            for (int a : kAttributes) {
                if (!object.IsSupported(a)) continue;  // the plain support query of the set path
                DebugTrace("DETECT DEVICE #%d DSP=%d GPU=%d ATR=%d\n", static_cast<int>(count), static_cast<int>(d),
                           static_cast<int>(g), a);
                DEVICECFG& found = slots[count];
                found.Attribute = a;
                found.Display = d;
                found.GPU = g;
                CopyName(found.Name, object.driverVersion.szAdapterString);
                if (++count == kDeviceSlots) return count;
            }
        }
    }
    return count;
}

}  // namespace

unsigned DetectDevices(DEVICECFG slots[kDeviceSlots]) {
    CNVGF object;
    if (NvAPI_Initialize() != NVAPI_OK) return 0;
    if (NvAPI_GetInterfaceVersionString(object.szInterfaceVersion) != NVAPI_OK) return 0;
    object.driverVersion.version = NV_DISPLAY_DRIVER_VERSION_VER;
    if (!object.Load(1)) return 0;
    unsigned count = Scan(object, slots);
    object.Load(0);
    return count;
}
