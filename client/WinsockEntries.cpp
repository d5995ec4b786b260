#include "client/WinsockEntries.h"

namespace WS32LIB {

decltype(&::__WSAFDIsSet) __WSAFDIsSet = nullptr;
decltype(&::WSACleanup) WSACleanup = nullptr;
decltype(&::WSAStartup) WSAStartup = nullptr;
decltype(&::accept) accept = nullptr;
decltype(&::bind) bind = nullptr;
decltype(&::closesocket) closesocket = nullptr;
decltype(&::connect) connect = nullptr;
decltype(&::gethostname) gethostname = nullptr;
decltype(&::gethostbyaddr) gethostbyaddr = nullptr;
decltype(&::gethostbyname) gethostbyname = nullptr;
decltype(&::htonl) htonl = nullptr;
decltype(&::htons) htons = nullptr;
decltype(&::inet_addr) inet_addr = nullptr;
decltype(&::inet_ntoa) inet_ntoa = nullptr;
decltype(&::listen) listen = nullptr;
decltype(&::ntohl) ntohl = nullptr;
decltype(&::ntohs) ntohs = nullptr;
decltype(&::select) select = nullptr;
decltype(&::send) send = nullptr;
decltype(&::sendto) sendto = nullptr;
decltype(&::setsockopt) setsockopt = nullptr;
decltype(&::socket) socket = nullptr;
decltype(&::shutdown) shutdown = nullptr;
decltype(&::recv) recv = nullptr;
decltype(&::recvfrom) recvfrom = nullptr;

}  // namespace WS32LIB
