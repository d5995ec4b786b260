// Round trip of the diagnostic path on loopback: an echoing service in a thread of this
// program on 127.0.0.1:30000, and the plug-in's client talking to it. Prints the median and
// spread of (a) one bare request/reply exchange through the loader's WinSock entry points,
// and (b) one full SetIllumination call, which adds the 1..5 ms pause after the exchange;
// then (c) the worst of a few frames of eight lights (sixteen requests, the render path's
// way: the first failure hands the rest of the frame to the driver) against a service that
// answers each request after 95 ms, just within the bound of one exchange.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "client/CLUMOCLI.h"
#include "client/LightMessage.h"
#include "client/WS32LIB.h"
#include "client/WinsockEntries.h"

namespace {

constexpr int kExchanges = 2000;
constexpr int kCalls = 300;
constexpr int kSlowFrames = 5;
constexpr DWORD kSlowServiceMs = 95;
volatile LONG g_Stop = 0;
volatile LONG g_ReplyDelayMs = 0;

double NowUs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Answers every datagram with the same bytes and the status "done" until told to stop.
DWORD WINAPI Echo(void* socketHandle) {
    const SOCKET s = reinterpret_cast<SOCKET>(socketHandle);
    while (!g_Stop) {
        LIGHTMSG message;
        sockaddr_in from = {};
        int fromLength = sizeof(from);
        const int length = recvfrom(s, reinterpret_cast<char*>(&message), sizeof(message), 0,
                                    reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (length != static_cast<int>(sizeof(message))) continue;
        if (g_ReplyDelayMs) Sleep(static_cast<DWORD>(g_ReplyDelayMs));
        message.status = kLightStatusDone;
        sendto(s, reinterpret_cast<const char*>(&message), sizeof(message), 0, reinterpret_cast<sockaddr*>(&from),
               fromLength);
    }
    return 0;
}

void Report(const char* what, std::vector<double>& us) {
    std::sort(us.begin(), us.end());
    std::printf("%-44s median %8.1f us   p10 %8.1f us   p90 %8.1f us   (n=%zu)\n", what, us[us.size() / 2],
                us[us.size() / 10], us[us.size() * 9 / 10], us.size());
}

// One exchange as the client makes it, through the loader's entry points.
std::vector<double> BareExchanges() {
    std::vector<double> us;
    SOCKET s = WS32LIB::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const DWORD timeout = CLUMOCLI::kReplyTimeoutMs;
    WS32LIB::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    sockaddr_in service = {};
    service.sin_family = AF_INET;
    service.sin_addr.s_addr = WS32LIB::inet_addr("127.0.0.1");
    service.sin_port = WS32LIB::htons(kLightServicePort);
    for (int i = 0; i < kExchanges; ++i) {
        LIGHTMSG message = {kLightCommandSetIllumination, 0, 0, 0, 0, i % 101};
        sockaddr_in reply = {};
        int replyLength = sizeof(reply);
        const double start = NowUs();
        WS32LIB::sendto(s, reinterpret_cast<char*>(&message), sizeof(message), 0,
                        reinterpret_cast<sockaddr*>(&service), sizeof(service));
        const int got = WS32LIB::recvfrom(s, reinterpret_cast<char*>(&message), sizeof(message), 0,
                                          reinterpret_cast<sockaddr*>(&reply), &replyLength);
        const double elapsed = NowUs() - start;
        if (got == static_cast<int>(sizeof(message)) && message.status == kLightStatusDone) us.push_back(elapsed);
    }
    WS32LIB::closesocket(s);
    return us;
}

std::vector<double> ClientCalls(CLUMOCLI& client) {
    std::vector<double> us;
    for (int i = 0; i < kCalls; ++i) {
        const double start = NowUs();
        const int confirmed = client.SetIllumination(0, 0, 0, i % 101);
        const double elapsed = NowUs() - start;
        if (confirmed) us.push_back(elapsed);
    }
    return us;
}

// Frames of eight lights on the diagnostic path against the slow service; the longest, ms.
double WorstSlowFrameMs(CLUMOCLI& client) {
    InterlockedExchange(&g_ReplyDelayMs, static_cast<LONG>(kSlowServiceMs));
    double worst = 0;
    for (int frame = 0; frame < kSlowFrames; ++frame) {
        const double start = NowUs();
        client.StartFrame();
        for (int request = 0; request < 16; ++request) {
            if (!client.SetIllumination(0, request / 2, 0, 50)) break;
        }
        worst = std::max(worst, (NowUs() - start) / 1000.0);
        Sleep(2 * kSlowServiceMs);  // the late answers come and go
    }
    InterlockedExchange(&g_ReplyDelayMs, 0);
    return worst;
}

}  // namespace

int main() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET service = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(kLightServicePort);
    const DWORD pollMs = 50;
    setsockopt(service, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&pollMs), sizeof(pollMs));
    if (bind(service, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        std::fprintf(stderr, "round-trip bench: 127.0.0.1:%u is taken\n", kLightServicePort);
        return 1;
    }
    HANDLE echo = CreateThread(nullptr, 0, Echo, reinterpret_cast<void*>(service), 0, nullptr);

    CLUMOCLI client;
    if (WS32LIB_LoadDLL() != 0 || WS32LIB::WSAStartup(2, &client.wsaData) != 0 || client.Open() != 0) {
        std::fprintf(stderr, "round-trip bench: the client could not be opened\n");
        return 1;
    }
    std::vector<double> bare = BareExchanges();
    std::vector<double> calls = ClientCalls(client);
    if (bare.empty() || calls.empty()) {
        std::fprintf(stderr, "round-trip bench: no exchange was confirmed\n");
        return 1;
    }
    Report("one exchange (sendto + recvfrom, loopback)", bare);
    Report("one SetIllumination (exchange + pause)", calls);
    std::printf("%-44s worst %8.1f ms   (frame bound %u ms, %d frames)\n",
                "eight lights, service answering after 95 ms", WorstSlowFrameMs(client),
                static_cast<unsigned>(CLUMOCLI::kFrameBoundMs),
                kSlowFrames);
    client.Close();

    InterlockedExchange(&g_Stop, 1);
    WaitForSingleObject(echo, 2000);
    CloseHandle(echo);
    closesocket(service);
    WSACleanup();
    return 0;
}
