#pragma once
// The WinSock entry points that the loader resolves from "WSOCK32.DLL", one process-wide
// pointer per function, each named after its entry point and typed with its signature.
// They may be called only while the loader's count is above 0. Nothing here is exported.
#include <winsock2.h>
#include <windows.h>

namespace WS32LIB {

extern decltype(&::__WSAFDIsSet) __WSAFDIsSet;
extern decltype(&::WSACleanup) WSACleanup;
extern decltype(&::WSAStartup) WSAStartup;
extern decltype(&::accept) accept;
extern decltype(&::bind) bind;
extern decltype(&::closesocket) closesocket;
extern decltype(&::connect) connect;
extern decltype(&::gethostname) gethostname;
extern decltype(&::gethostbyaddr) gethostbyaddr;
extern decltype(&::gethostbyname) gethostbyname;
extern decltype(&::htonl) htonl;
extern decltype(&::htons) htons;
extern decltype(&::inet_addr) inet_addr;
extern decltype(&::inet_ntoa) inet_ntoa;
extern decltype(&::listen) listen;
extern decltype(&::ntohl) ntohl;
extern decltype(&::ntohs) ntohs;
extern decltype(&::select) select;
extern decltype(&::send) send;
extern decltype(&::sendto) sendto;
extern decltype(&::setsockopt) setsockopt;
extern decltype(&::socket) socket;
extern decltype(&::shutdown) shutdown;
extern decltype(&::recv) recv;
extern decltype(&::recvfrom) recvfrom;

// The library the exported loader opens.
constexpr const char* kLibraryName = "WSOCK32.DLL";

// The loader's first load from a count of 0, from the named library of the system folder:
// 0 when the library was loaded and all 25 entry points resolved in order, -1 otherwise
// (see WS32LIB_LoadDLL).
int LoadFrom(const char* libraryName);

}  // namespace WS32LIB
