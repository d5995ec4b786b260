#include "gpu/CNVGF.h"

CNVGF::CNVGF()
    : szInterfaceVersion(), szDriverVersion(), driverVersion(), pfnQueryInterface(nullptr), displayIndex(0),
      gpuIndex(0), gpuCount(0), hDisplay(nullptr), hGpu(), hNvapi(nullptr) {}
CNVGF::~CNVGF() {}
int CNVGF::Load(int) { return 0; }
int CNVGF::Select(unsigned, unsigned) { return 0; }
int CNVGF::IsSupported(int) { return 0; }
int CNVGF::SetIllumination(int, unsigned) { return 0; }
int OpenDevice(CNVGF&, DEVICECFG&) { return 0; }
