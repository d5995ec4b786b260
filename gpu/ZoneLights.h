#pragma once
// The illumination zones of one GPU (the lit logo or light bar of current boards), driven as
// one light, "Light Zones": every zone follows the meter's brightness while keeping the colour
// the user gave it. The zones' control as the user left it is read when the light is opened,
// each set writes it in manual mode with the new brightness (a zone cycling through colours is
// held at the colour of its first end point), and the end of the run writes it back as read.
// The records live in the object: a set neither allocates nor puts 6 KB on the stack.
#include "gpu/NvApi.h"

class ZoneLights {
public:
    ZoneLights();

    // One or more zones reported: the support query that comes before every set.
    bool Supported(NvPhysicalGpuHandle gpu);
    // Reads the zones' active control, the user's lighting; false when the driver won't say,
    // and then no set is made.
    bool Read(NvPhysicalGpuHandle gpu);
    // Every zone at `value` percent, in manual mode at its colour; false without a Read or
    // when the driver refuses.
    bool Set(NvPhysicalGpuHandle gpu, unsigned value);
    // Writes back the control as it was read, once, when a set was made since the Read (else
    // writes nothing and is true); false without a Read, or when the driver refuses (the
    // next Read then starts from what the board reports).
    bool Restore(NvPhysicalGpuHandle gpu);

private:
    NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1 info_;
    NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1 saved_;  // the user's lighting
    NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1 set_;    // what each set writes
    bool read_ = false;
    bool changed_ = false;  // a set was made since the Read
};
