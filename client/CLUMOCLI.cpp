// The diagnostic path's UDP client. Every WinSock call goes through the loader's entry points.
#include "client/CLUMOCLI.h"

#include <cstdlib>
#include <cstring>

#include "client/WS32LIB.h"
#include "client/WinsockEntries.h"

CLUMOCLI g_Client;

namespace {

constexpr const char* kServiceHost = "127.0.0.1";
constexpr int kShutdownBoth = 2;

// An unbound socket would be bound to every interface by its first send, so any machine on
// the network could send it replies (and move the port that requests go to). Bound to
// 127.0.0.1 it only ever hears from programs on this machine; the port is the system's choice.
bool BindToLoopback(SOCKET fresh) {
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = WS32LIB::htonl(INADDR_LOOPBACK);
    local.sin_port = 0;
    return WS32LIB::bind(fresh, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) == 0;
}

}  // namespace

CLUMOCLI::CLUMOCLI() : wsaData(), service(), reply(), addressLength(sizeof(sockaddr_in)), sock(0), pauseModulus(5) {
    lock.Create("NONAME");
}

CLUMOCLI::~CLUMOCLI() {
    lock.Destroy();
    CloseSocket();
}

bool CLUMOCLI::IsOpen() const {
    // The entry points are only callable while WinSock is loaded.
    return sock != 0 && WS32LIB_GetLoadCount() != 0;
}

void CLUMOCLI::CloseSocket() {
    if (!IsOpen()) return;
    WS32LIB::shutdown(sock, kShutdownBoth);
    WS32LIB::closesocket(sock);
    sock = 0;
}

int CLUMOCLI::Open() {
    if (WS32LIB_GetLoadCount() == 0) return -1;
    hostent* host = WS32LIB::gethostbyname(kServiceHost);
    if (!host || !host->h_addr_list) return -1;

    // The text of the last address in the list names the service's host.
    const char* text = nullptr;
    for (char** entry = host->h_addr_list; *entry; ++entry) {
        in_addr address;
        std::memcpy(&address, *entry, sizeof(address));
        text = WS32LIB::inet_ntoa(address);
    }
    if (!text) return -1;  // an empty address list names no host
    const unsigned long address = WS32LIB::inet_addr(text);

    std::memset(&service, 0, static_cast<size_t>(addressLength));
    service.sin_family = AF_INET;
    service.sin_addr.s_addr = address;
    service.sin_port = WS32LIB::htons(kServicePort);

    const SOCKET opened = NewSocket();
    if (opened == INVALID_SOCKET) return -1;
    sock = opened;
    return 0;
}

SOCKET CLUMOCLI::NewSocket() {
    const SOCKET fresh = WS32LIB::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (fresh == INVALID_SOCKET) return fresh;
    // A socket that can't be kept to this machine, or whose receive can't be bounded, is not
    // used: it is closed and the caller fails instead.
    const DWORD timeout = kReplyTimeoutMs;
    if (!BindToLoopback(fresh) ||
        WS32LIB::setsockopt(fresh, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                            sizeof(timeout)) != 0) {
        WS32LIB::closesocket(fresh);
        return INVALID_SOCKET;
    }
    return fresh;
}

void CLUMOCLI::RenewSocket() {
    // The fresh socket is made while the old one still holds its port, so it gets another.
    const SOCKET fresh = NewSocket();
    CloseSocket();
    sock = fresh == INVALID_SOCKET ? 0 : fresh;
}

int CLUMOCLI::Exchange(LIGHTMSG& message) {
    char* buffer = reinterpret_cast<char*>(&message);
    const int size = static_cast<int>(sizeof(message));
    if (WS32LIB::sendto(sock, buffer, size, 0, reinterpret_cast<const sockaddr*>(&service), addressLength) != size)
        return 0;

    // A local length, so a receive can never change the length that sends use.
    int fromLength = addressLength;
    const int received =
        WS32LIB::recvfrom(sock, buffer, size, 0, reinterpret_cast<sockaddr*>(&reply), &fromLength);
    // Timed out, refused, or longer than a message: no reply address to learn from. A reply
    // that is merely late would come in while the next request waits and be taken for its
    // answer, so the next request goes out from a fresh socket and the late one finds no
    // receiver.
    if (received == SOCKET_ERROR) {
        RenewSocket();
        return 0;
    }

    // Following requests go to the port from which the service last answered.
    service.sin_port = reply.sin_port;
    return received == size && message.status == kStatusDone ? 1 : 0;
}

int CLUMOCLI::SetIllumination(int display, int gpu, int attribute, int level) {
    // A client that was never opened (or whose WinSock is gone) has nothing to send with.
    if (!IsOpen()) return 0;

    LIGHTMSG message = {kCommandSetIllumination, 0, display, gpu, attribute, level};
    lock.Enter();
    const int result = Exchange(message);
    lock.Leave();
    Sleep(NextPauseMs());
    return result;
}

unsigned CLUMOCLI::NextPauseMs() const { return static_cast<unsigned>(std::rand()) % pauseModulus + 1; }

void CLUMOCLI::Close() {
    if (WS32LIB_GetLoadCount() == 0) return;
    CloseSocket();
    WS32LIB::WSACleanup();
    WS32LIB_UnloadDLL();
}
