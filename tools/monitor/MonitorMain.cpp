// glowmeter-monitor: the local illumination service of the diagnostic path, for watching the
// plug-in's requests and for provoking its fallbacks. Loopback only.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/monitor/MonitorOptions.h"
#include "tools/monitor/RequestHandler.h"

namespace {

volatile LONG g_Stop = 0;

BOOL WINAPI OnConsoleControl(DWORD) {
    InterlockedExchange(&g_Stop, 1);
    return TRUE;
}

SOCKET LoopbackSocket(unsigned short port) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return s;
    // Room for bursts: a plug-in never has more than one request outstanding, a test may.
    const int bufferBytes = 1 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes), sizeof(bufferBytes));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    // Receives wake up at least every 50 ms, so Ctrl+C and the limits are noticed.
    const DWORD pollMs = 50;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&pollMs), sizeof(pollMs));
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

// The light view reads its switches from the environment at its first change; set them for
// this process before any request arrives.
void ConfigureView(const MonitorOptions& options) {
    if (options.view) SetEnvironmentVariableA("GLOWMETER_VIEW", "1");
    if (!options.csv.empty()) SetEnvironmentVariableA("GLOWMETER_CSV", options.csv.c_str());
}

// In 64 bits: a limit of 49.7 days or more does not fit 32-bit milliseconds, and 32-bit
// ticks would wrap round before reaching it.
bool TimeIsUp(const MonitorOptions& options, ULONGLONG start) {
    return options.seconds != 0 && GetTickCount64() - start >= options.seconds * 1000ull;
}

// Serves until Ctrl+C, the request count or the time limit.
void Serve(const MonitorOptions& options, SOCKET listener, SOCKET answerer, RequestHandler& handler) {
    const ULONGLONG start = GetTickCount64();
    while (!g_Stop && !TimeIsUp(options, start)) {
        if (options.count != 0 && handler.Counts().requests >= options.count) break;
        uint8_t bytes[512];
        sockaddr_in from = {};
        int fromLength = sizeof(from);
        const int length = recvfrom(listener, reinterpret_cast<char*>(bytes), sizeof(bytes), 0,
                                    reinterpret_cast<sockaddr*>(&from), &fromLength);
        // An oversized datagram reports an error but was taken off the queue: count it. Any
        // other error is the receive's time-out, which lets the loop look at its stop rules.
        const int size = length == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE ? int(sizeof(bytes)) : length;
        if (size < 0) continue;
        if (!handler.Handle(bytes, size)) continue;
        if (options.delayMs) Sleep(options.delayMs);
        sendto(answerer, reinterpret_cast<const char*>(bytes), RequestHandler::kMessageSize, 0,
               reinterpret_cast<const sockaddr*>(&from), fromLength);
    }
}

}  // namespace

int main(int argc, char** argv) {
    MonitorOptions options;
    std::string error;
    if (!ParseMonitorOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "glowmeter-monitor: %s\n%s", error.c_str(), MonitorUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(MonitorUsage(), stdout);
        return 0;
    }
    ConfigureView(options);

    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::fprintf(stderr, "glowmeter-monitor: WinSock could not be started\n");
        return 1;
    }
    SOCKET listener = LoopbackSocket(options.port);
    SOCKET answerer = listener;
    if (options.replyPort != 0 && listener != INVALID_SOCKET) answerer = LoopbackSocket(options.replyPort);
    if (listener == INVALID_SOCKET || answerer == INVALID_SOCKET) {
        std::fprintf(stderr, "glowmeter-monitor: cannot listen on 127.0.0.1:%u%s\n", options.port,
                     options.replyPort ? " or answer from the reply port" : "");
        if (listener != INVALID_SOCKET) closesocket(listener);
        WSACleanup();
        return 1;
    }
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    std::printf("glowmeter-monitor: listening on 127.0.0.1:%u\n", options.port);
    std::fflush(stdout);

    RequestHandler handler(options.status, options.dropEvery);
    Serve(options, listener, answerer, handler);

    const MonitorCounts& counts = handler.Counts();
    std::printf("\nglowmeter-monitor: requests=%lu answered=%lu dropped=%lu malformed=%lu\n", counts.requests,
                counts.answered, counts.dropped, counts.malformed);
    std::fflush(stdout);
    if (answerer != listener) closesocket(answerer);
    closesocket(listener);
    WSACleanup();
    return 0;
}
