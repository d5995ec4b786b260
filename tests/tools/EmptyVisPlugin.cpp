// A DLL that exports winampVisGetHeader but lists no module: the host must refuse it.
#include "sdk/WinampVis.h"

namespace {

winampVisModule* NoModule(int) { return nullptr; }
winampVisHeader g_Header = {kVisHeaderVersion, const_cast<char*>("Empty test plug-in"), NoModule};

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* winampVisGetHeader() { return &g_Header; }
