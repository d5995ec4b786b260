// glowmeter-monitor: the local illumination service of the diagnostic path, for watching the
// plug-in's requests and for provoking its fallbacks. Loopback only. The command line is
// taken wide, so a CSV file may have any name; messages are UTF-8 (wide on a console).
// Exit codes: 0 done, 1 WinSock or the port can't be had, 2 wrong command line.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/common/ConsoleText.h"
#include "tools/common/FileProblem.h"
#include "tools/common/Utf8Text.h"
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
    if (options.view) SetEnvironmentVariableW(L"GLOWMETER_VIEW", L"1");
    if (!options.csv.empty()) SetEnvironmentVariableW(L"GLOWMETER_CSV", WideFromUtf8(options.csv).c_str());
}

// The CSV file is opened (made when missing) at start, as the view will open it at the first
// change: a file that can't be written is told now, not after the first request.
bool CsvWritable(const std::string& path, std::string& why) {
    if (IsFolder(path)) {
        why = "it is a folder";
        return false;
    }
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = OpenFailure(GetLastError());
        return false;
    }
    CloseHandle(file);
    return true;
}

void Say(StdStream stream, const std::string& text) { WriteText(stream, "glowmeter-monitor: " + text + "\n"); }

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
        sendto(answerer, reinterpret_cast<const char*>(bytes), kLightMessageSize, 0,
               reinterpret_cast<const sockaddr*>(&from), fromLength);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const Utf8Arguments arguments(argc, argv);
    MonitorOptions options;
    std::string error;
    if (!ParseMonitorOptions(arguments.Count(), arguments.Values(), options, error)) {
        WriteText(StdStream::Err, "glowmeter-monitor: " + error + "\n" + MonitorUsage());
        return 2;
    }
    if (options.help) {
        WriteText(StdStream::Out, MonitorUsage());
        return 0;
    }
    if (!options.csv.empty() && !CsvWritable(options.csv, error)) {
        Say(StdStream::Err, "cannot write the CSV file \"" + options.csv + "\": " + error);
        return 2;
    }
    ConfigureView(options);

    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        Say(StdStream::Err, "WinSock could not be started");
        return 1;
    }
    SOCKET listener = LoopbackSocket(options.port);
    SOCKET answerer = listener;
    if (options.replyPort != 0 && listener != INVALID_SOCKET) answerer = LoopbackSocket(options.replyPort);
    if (listener == INVALID_SOCKET || answerer == INVALID_SOCKET) {
        Say(StdStream::Err, "cannot listen on 127.0.0.1:" + std::to_string(options.port) +
                                (options.replyPort ? " or answer from the reply port" : ""));
        if (listener != INVALID_SOCKET) closesocket(listener);
        WSACleanup();
        return 1;
    }
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    Say(StdStream::Out, "listening on 127.0.0.1:" + std::to_string(options.port));

    RequestHandler handler(options.status, options.dropEvery);
    Serve(options, listener, answerer, handler);

    const MonitorCounts& counts = handler.Counts();
    char text[128];
    std::snprintf(text, sizeof text, "requests=%lu answered=%lu dropped=%lu malformed=%lu", counts.requests,
                  counts.answered, counts.dropped, counts.malformed);
    // On a console the counts start on a line of their own, below a "^C" or the light bars.
    if (IsConsole(GetStdHandle(STD_OUTPUT_HANDLE))) WriteText(StdStream::Out, "\n");
    Say(StdStream::Out, text);
    if (answerer != listener) closesocket(answerer);
    closesocket(listener);
    WSACleanup();
    return 0;
}
