// The per-frame meter: channel peaks to brightness levels on every enabled light.
#include "plugin/Render.h"

#include "client/CLUMOCLI.h"
#include "plugin/Lifecycle.h"
#include "plugin/MeterMath.h"
#include "plugin/PlayerCoordination.h"
#include "plugin/PluginState.h"
#include "plugin/RunControl.h"

namespace {

// The value that feeds a slot in this frame, or -1 when the slot gets no output. A channel
// code outside the list gives no output (rather than reusing another slot's level).
int SlotValue(int channel, int leftPeak, int rightPeak) {
    switch (channel) {
        case kChannelLeft: return leftPeak;
        case kChannelRight: return rightPeak;
        case kChannelBoth: return BothChannels(leftPeak, rightPeak);
        default: return -1;
    }
}

// Sets one slot's light to the level, then at once to the level divided by the decay.
void OutputLevel(int slotIndex, const DEVICECFG& slot, unsigned level, unsigned decay) {
    if (g_LiveConfig.Debug) {
        // Each result decides the path for what follows: a failed request switches the
        // rest of the run to the driver.
        g_LiveConfig.Debug = g_Client.SetIllumination(static_cast<int>(slot.Display), static_cast<int>(slot.GPU),
                                                      slot.Attribute, static_cast<int>(level));
        g_LiveConfig.Debug = g_Client.SetIllumination(static_cast<int>(slot.Display), static_cast<int>(slot.GPU),
                                                      slot.Attribute, static_cast<int>(level / decay));
        return;
    }
    CNVGF& device = g_Devices[slotIndex];
    device.SetIllumination(slot.Attribute, level);
    device.SetIllumination(slot.Attribute, level / decay);
}

}  // namespace

int Render(winampVisModule* module) {
    // Settings that Config handed over are taken here, on the run's thread, before the frame.
    if (g_Run.HasPending()) TakeHandover();

    const int leftPeak = ChannelPeak(module->waveformData[0]);
    const int rightPeak = ChannelPeak(module->waveformData[1]);
    // A decay of 0 (typed in the dialog and not yet reloaded) must never reach the division.
    const unsigned decay = g_LiveConfig.Decay ? g_LiveConfig.Decay : 1;
    // The diagnostic exchanges of one frame share one bound on their waiting.
    if (g_LiveConfig.Debug) g_Client.StartFrame();

    for (int i = 0; i < kDeviceSlots; ++i) {
        const DEVICECFG& slot = g_LiveConfig.Devices[i];
        if (!slot.Enable) continue;
        const int value = SlotValue(slot.Channel, leftPeak, rightPeak);
        if (value < 0) continue;  // negative peak: the light keeps its brightness
        OutputLevel(i, slot, static_cast<unsigned>(MapLevel(value)), decay);
    }

    if (g_LiveConfig.PlayerEnable) PlayerStamp();
    return 0;
}
