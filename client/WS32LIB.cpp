// The WinSock loader: one shared copy of "WSOCK32.DLL", counted by its users.
#include "client/WS32LIB.h"

#include "client/WinsockEntries.h"
#include "support/SystemLibrary.h"

#include <atomic>

namespace {

// Loads and unloads may come from several threads (the exported functions are anyone's to
// call): each takes the lock for its whole step, so the count and the handle always agree.
// The readers only look, without the lock: the render path asks for the count every request.
SRWLOCK g_Lock = SRWLOCK_INIT;
std::atomic<HINSTANCE> g_Library{nullptr};
std::atomic<unsigned int> g_LoadCount{0};

class LoaderLock {
public:
    LoaderLock() { AcquireSRWLockExclusive(&g_Lock); }
    ~LoaderLock() { ReleaseSRWLockExclusive(&g_Lock); }
    LoaderLock(const LoaderLock&) = delete;
    LoaderLock& operator=(const LoaderLock&) = delete;
};

// Stores the named entry point of the library in `entry`; true when it resolved.
template <typename Function>
bool Resolve(const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(g_Library.load(), name)));
    return entry != nullptr;
}

// Resolves the 25 entry points in their fixed order and stops at the first that is missing:
// the ones before it keep their values, the ones after it are not looked at.
bool ResolveAll() {
    return Resolve("__WSAFDIsSet", WS32LIB::__WSAFDIsSet) &&
           Resolve("WSACleanup", WS32LIB::WSACleanup) &&
           Resolve("WSAStartup", WS32LIB::WSAStartup) &&
           Resolve("accept", WS32LIB::accept) &&
           Resolve("bind", WS32LIB::bind) &&
           Resolve("closesocket", WS32LIB::closesocket) &&
           Resolve("connect", WS32LIB::connect) &&
           Resolve("gethostname", WS32LIB::gethostname) &&
           Resolve("gethostbyaddr", WS32LIB::gethostbyaddr) &&
           Resolve("gethostbyname", WS32LIB::gethostbyname) &&
           Resolve("htonl", WS32LIB::htonl) &&
           Resolve("htons", WS32LIB::htons) &&
           Resolve("inet_addr", WS32LIB::inet_addr) &&
           Resolve("inet_ntoa", WS32LIB::inet_ntoa) &&
           Resolve("listen", WS32LIB::listen) &&
           Resolve("ntohl", WS32LIB::ntohl) &&
           Resolve("ntohs", WS32LIB::ntohs) &&
           Resolve("select", WS32LIB::select) &&
           Resolve("send", WS32LIB::send) &&
           Resolve("sendto", WS32LIB::sendto) &&
           Resolve("setsockopt", WS32LIB::setsockopt) &&
           Resolve("socket", WS32LIB::socket) &&
           Resolve("shutdown", WS32LIB::shutdown) &&
           Resolve("recv", WS32LIB::recv) &&
           Resolve("recvfrom", WS32LIB::recvfrom);
}

}  // namespace

namespace WS32LIB {

int LoadFrom(const char* libraryName) {
    LoaderLock lock;
    if (g_LoadCount != 0) {
        ++g_LoadCount;
        return 0;
    }
    // From the system folder only: a same-named file beside the host or in the current folder
    // would otherwise run inside the host.
    g_Library = LoadSystemLibrary(libraryName);
    if (!g_Library) return -1;
    // A library without every entry point stays mapped with its handle recorded and the
    // count at 0; the next load starts over and overwrites the handle.
    if (!ResolveAll()) return -1;
    g_LoadCount = 1;
    return 0;
}

}  // namespace WS32LIB

int WS32LIB_LoadDLL() { return WS32LIB::LoadFrom(WS32LIB::kLibraryName); }

void WS32LIB_UnloadDLL() {
    LoaderLock lock;
    if (g_LoadCount == 0) return;
    if (g_LoadCount == 1) {
        FreeLibrary(g_Library);
        g_Library = nullptr;
    }
    --g_LoadCount;
}

int WS32LIB_IsLoadDLL() { return g_LoadCount != 0 ? 1 : 0; }

unsigned int WS32LIB_GetLoadCount() { return g_LoadCount; }

HINSTANCE WS32LIB_GetDLLHandle() { return g_Library; }
