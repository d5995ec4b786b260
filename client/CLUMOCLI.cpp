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
constexpr int kMostDrained = 4096;

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

bool FromLoopback(const sockaddr_in& address) { return address.sin_addr.s_addr == WS32LIB::htonl(INADDR_LOOPBACK); }

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Waits up to `waitMs` for the socket to have a datagram; true when one is there.
bool Readable(SOCKET socket, double waitMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    const long us = waitMs > 0 ? static_cast<long>(waitMs * 1000.0) : 0;
    timeval wait = {us / 1000000, us % 1000000};
    return WS32LIB::select(0, &readable, nullptr, nullptr, &wait) > 0;
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
    service.sin_port = WS32LIB::htons(kLightServicePort);

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

// What was waiting before the request can't be its reply (a duplicate, a reply that came
// late, anything else sent here): it is read and dropped.
void CLUMOCLI::Drain() {
    char scrap[64];
    sockaddr_in from;
    // More than a socket's receive buffer can hold, so a flood can't keep the frame here.
    for (int i = 0; i < kMostDrained && Readable(sock, 0); ++i) {
        int fromLength = addressLength;
        WS32LIB::recvfrom(sock, scrap, sizeof scrap, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    }
}

// Only a datagram from 127.0.0.1 is the service's reply; anything else that comes while the
// reply is awaited is read and dropped, within the same wait.
int CLUMOCLI::ReceiveReply(LIGHTMSG& message, double waitMs) {
    const double until = NowMs() + waitMs;
    for (;;) {
        const double left = until - NowMs();
        if (left <= 0 || !Readable(sock, left)) return SOCKET_ERROR;
        // A local length, so a receive can never change the length that sends use.
        int fromLength = addressLength;
        const int received = WS32LIB::recvfrom(sock, reinterpret_cast<char*>(&message), sizeof message, 0,
                                                reinterpret_cast<sockaddr*>(&reply), &fromLength);
        if (received == SOCKET_ERROR || FromLoopback(reply)) return received;
    }
}

int CLUMOCLI::Exchange(LIGHTMSG& message) {
    double waitMs = kReplyTimeoutMs;
    if (inFrame) {
        if (frameLeftMs <= 0) return 0;
        if (frameLeftMs < waitMs) waitMs = frameLeftMs;
    }
    const double start = NowMs();
    Drain();
    const int size = static_cast<int>(sizeof(message));
    int result = 0;
    if (WS32LIB::sendto(sock, reinterpret_cast<const char*>(&message), size, 0,
                        reinterpret_cast<const sockaddr*>(&service), addressLength) == size) {
        const int received = ReceiveReply(message, waitMs);
        // Timed out, refused, or longer than a message: no reply address to learn from. A
        // reply that is merely late would come in while the next request waits and be taken
        // for its answer, so the next request goes out from a fresh socket and the late one
        // finds no receiver.
        if (received == SOCKET_ERROR) {
            RenewSocket();
        } else {
            // Following requests go to the port from which the service last answered.
            service.sin_port = reply.sin_port;
            result = received == size && message.status == kLightStatusDone ? 1 : 0;
        }
    }
    if (inFrame) frameLeftMs -= NowMs() - start;
    return result;
}

void CLUMOCLI::StartFrame() {
    inFrame = true;
    frameLeftMs = kFrameBoundMs;
}

int CLUMOCLI::SetIllumination(int display, int gpu, int attribute, int level) {
    // A client that was never opened (or whose WinSock is gone) has nothing to send with.
    if (!IsOpen()) return 0;

    LIGHTMSG message = {kLightCommandSetIllumination, 0, display, gpu, attribute, level};
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
