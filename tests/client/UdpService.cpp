#include "tests/client/UdpService.h"

#include <algorithm>
#include <cstring>

namespace {

SOCKET BoundSocket(unsigned short port) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

unsigned short LocalPort(SOCKET s) {
    sockaddr_in address = {};
    int length = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

}  // namespace

UdpService::UdpService(unsigned short servicePort) : port(servicePort) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    InitializeCriticalSection(&guard);
}

UdpService::~UdpService() {
    Stop();
    DeleteCriticalSection(&guard);
    WSACleanup();
}

bool UdpService::Start() {
    // Another program may hold the port for a moment: retry, bounded.
    for (int attempt = 0; attempt < 50 && main == INVALID_SOCKET; ++attempt) {
        main = BoundSocket(port);
        if (main == INVALID_SOCKET) Sleep(100);
    }
    if (main == INVALID_SOCKET) return false;
    other = BoundSocket(0);
    if (other == INVALID_SOCKET) return false;
    otherPort = LocalPort(other);
    stop = 0;
    thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    return thread != nullptr;
}

void UdpService::Stop() {
    if (thread) {
        InterlockedExchange(&stop, 1);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        thread = nullptr;
    }
    if (main != INVALID_SOCKET) closesocket(main);
    if (other != INVALID_SOCKET) closesocket(other);
    main = other = INVALID_SOCKET;
}

void UdpService::Script(const ReplyScript& newScript) {
    EnterCriticalSection(&guard);
    script = newScript;
    LeaveCriticalSection(&guard);
}

void UdpService::ScriptSequence(const std::vector<ReplyScript>& newSequence) {
    EnterCriticalSection(&guard);
    sequence = newSequence;
    LeaveCriticalSection(&guard);
}

std::vector<ReceivedDatagram> UdpService::Received() {
    EnterCriticalSection(&guard);
    std::vector<ReceivedDatagram> copy = received;
    LeaveCriticalSection(&guard);
    return copy;
}

DWORD WINAPI UdpService::ThreadMain(void* self) {
    static_cast<UdpService*>(self)->Serve();
    return 0;
}

void UdpService::Serve() {
    while (!stop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(main, &readable);
        FD_SET(other, &readable);
        timeval wait = {0, 20000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        for (SOCKET s : {main, other}) {
            if (!FD_ISSET(s, &readable)) continue;
            ReceivedDatagram datagram = {};
            sockaddr_in from = {};
            int fromLength = sizeof(from);
            datagram.length = recvfrom(s, reinterpret_cast<char*>(datagram.bytes.data()),
                                       static_cast<int>(datagram.bytes.size()), 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (datagram.length < 0) continue;
            datagram.arrivedAtPort = s == main ? port : otherPort;
            datagram.sentFromPort = ntohs(from.sin_port);
            EnterCriticalSection(&guard);
            received.push_back(datagram);
            const size_t index = received.size() - 1;
            LeaveCriticalSection(&guard);
            Answer(s, from, datagram.bytes.data(), datagram.length, index);
        }
    }
}

void UdpService::Answer(SOCKET from, const sockaddr_in& to, uint8_t* bytes, int length, size_t index) {
    EnterCriticalSection(&guard);
    const ReplyScript now = index < sequence.size() ? sequence[index] : script;
    LeaveCriticalSection(&guard);
    if (now.silent) return;
    if (now.delayMs) Sleep(now.delayMs);
    uint8_t reply[64] = {};
    std::memcpy(reply, bytes, static_cast<size_t>(std::min(length, 64)));
    std::memcpy(reply + 4, &now.status, sizeof(now.status));
    SOCKET sender = now.fromOtherPort ? other : from;
    for (int copy = 0; copy < (now.twice ? 2 : 1); ++copy)
        sendto(sender, reinterpret_cast<char*>(reply), now.length, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to));
}
