// Init's decision whether a run with Debug on can use the diagnostic path.
#include "client/DiagnosticPath.h"

#include "client/CLUMOCLI.h"
#include "client/WS32LIB.h"
#include "client/WinsockEntries.h"

namespace {

constexpr WORD kWinsockVersion = 2;

}  // namespace

bool OpenDiagnosticPath() {
    // Only a run that finds WinSock unused loads, starts and opens it; each step must succeed.
    if (WS32LIB_GetLoadCount() != 0) return false;
    if (WS32LIB_LoadDLL() != 0) return false;
    if (WS32LIB::WSAStartup(kWinsockVersion, &g_Client.wsaData) != 0) return false;
    return g_Client.Open() == 0;
}
