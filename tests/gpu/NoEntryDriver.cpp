// A library that carries the driver's file name but not its entry nvapi_QueryInterface,
// as a broken or foreign install would. It bears the stand-in mark, so the tests' fixture may
// put it into the system folder and take it out again.
#include "tools/nvapi_sim/StandInMark.h"

NVSIM_DEFINE_STAND_IN_MARK

extern "C" __declspec(dllexport) int NotTheDriver() { return 0; }
