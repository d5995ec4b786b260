// glowmeter-monitor as a user runs it: a process of its own on a loopback port, driven with
// real datagrams; its counts are read from what it prints when it stops by itself.
#include <winsock2.h>
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/monitor/MonitorOptions.h"
#include "tests/common/Stopwatch.h"

namespace {

// A port of this test run's own, so runs elsewhere on the machine do not collide.
unsigned short TestPort(int offset) { return static_cast<unsigned short>(31000 + (GetCurrentProcessId() % 4000) * 2 + offset); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class MonitorProcess {
public:
    ~MonitorProcess() {
        if (info.hProcess) {
            TerminateProcess(info.hProcess, 99);
            WaitForSingleObject(info.hProcess, 5000);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
        DeleteFileA(outputPath.c_str());
    }

    // Starts the monitor and waits (bounded) until it says it is listening.
    bool Start(const std::string& arguments) {
        outputPath = "monitor-out-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs) + ".txt";
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE out = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE) return false;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = out;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        std::string command = "glowmeter-monitor.exe " + arguments;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                            &startup, &info);
        CloseHandle(out);
        if (!started) return false;
        for (int i = 0; i < 200; ++i) {
            if (Output().find("listening") != std::string::npos) return true;
            if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0) return false;
        }
        return false;
    }

    // The exit code once the monitor stopped by itself, or -1 when it did not in time.
    int Wait(DWORD ms) {
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<int>(code);
    }

    std::string Output() const { return ReadFile(outputPath); }

private:
    PROCESS_INFORMATION info = {};
    std::string outputPath;
    static inline int runs = 0;
};

// A loopback UDP socket of the test, talking to the monitor.
class Peer {
public:
    explicit Peer(unsigned short servicePort) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        const int bufferBytes = 1 << 20;
        setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes), sizeof(bufferBytes));
        service.sin_family = AF_INET;
        service.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        service.sin_port = htons(servicePort);
    }
    ~Peer() {
        closesocket(s);
        WSACleanup();
    }

    void Send(const void* bytes, int length) {
        sendto(s, static_cast<const char*>(bytes), length, 0, reinterpret_cast<const sockaddr*>(&service),
               sizeof(service));
    }
    void SendRequest(int32_t display, int32_t gpu, int32_t attribute, int32_t level) {
        const int32_t request[6] = {3, 0, display, gpu, attribute, level};
        Send(request, sizeof(request));
    }

    // Waits (bounded) for one datagram; its length, or -1 when none came.
    int Receive(int32_t (&reply)[6], DWORD waitMs, unsigned short* fromPort = nullptr) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval wait = {static_cast<long>(waitMs / 1000), static_cast<long>(waitMs % 1000) * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) return -1;
        sockaddr_in from = {};
        int fromLength = sizeof(from);
        const int length = recvfrom(s, reinterpret_cast<char*>(reply), sizeof(reply), 0,
                                    reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (fromPort) *fromPort = ntohs(from.sin_port);
        return length;
    }

private:
    SOCKET s;
    sockaddr_in service = {};
};

TEST(MonitorOptions, RejectsBadCommandLinesAndReadsGoodOnes) {
    const std::vector<std::vector<const char*>> bad = {
        {"--bogus"}, {"--status"}, {"--drop", "0"}, {"--port", "70000"}, {"--delay", "ten"}, {"--count", "-5"},
    };
    for (const auto& arguments : bad) {
        std::vector<const char*> argv = {"glowmeter-monitor"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        MonitorOptions options;
        std::string error;
        EXPECT_FALSE(ParseMonitorOptions(static_cast<int>(argv.size()), argv.data(), options, error)) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
    const char* argv[] = {"glowmeter-monitor", "--status", "-3", "--reply-port", "40000", "--drop", "4",
                          "--csv", "lights.csv", "--view", "--seconds", "9"};
    MonitorOptions options;
    std::string error;
    ASSERT_TRUE(ParseMonitorOptions(12, argv, options, error)) << error;
    EXPECT_EQ(options.port, 30000);
    EXPECT_EQ(options.status, -3);
    EXPECT_EQ(options.replyPort, 40000);
    EXPECT_EQ(options.dropEvery, 4u);
    EXPECT_EQ(options.csv, "lights.csv");
    EXPECT_TRUE(options.view);
    EXPECT_EQ(options.seconds, 9u);
}

TEST(Monitor, AnswersAsItsOptionsSay) {
    const unsigned short port = TestPort(0);
    const unsigned short replyPort = TestPort(1);
    struct Case {
        std::string options;
        int32_t status;             // status in every answer
        unsigned short answersFrom; // port the answers come from
        double atLeastMs;           // an answer takes at least this long
        const char* counts;         // what the monitor prints when it stops
    };
    const Case cases[] = {
        {"", 1, port, 0, "requests=4 answered=4 dropped=0 malformed=0"},
        {"--status 0", 0, port, 0, "requests=4 answered=4 dropped=0 malformed=0"},
        {"--reply-port " + std::to_string(replyPort), 1, replyPort, 0, "requests=4 answered=4"},
        {"--delay 150", 1, port, 140, "requests=4 answered=4"},
        {"--drop 2", 1, port, 0, "requests=4 answered=2 dropped=2 malformed=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        MonitorProcess monitor;
        ASSERT_TRUE(monitor.Start("--port " + std::to_string(port) + " --count 4 --seconds 30 " + c.options));
        Peer peer(port);
        const bool dropping = c.options.find("--drop") != std::string::npos;
        for (int32_t i = 0; i < 4; ++i) {
            const double start = NowMs();
            peer.SendRequest(i, 1, 1, 25 * i);
            int32_t reply[6] = {};
            unsigned short from = 0;
            const int length = peer.Receive(reply, dropping && i % 2 == 1 ? 300 : 2000, &from);
            if (dropping && i % 2 == 1) {
                EXPECT_EQ(length, -1) << "request " << i << " should go unanswered";
                continue;
            }
            ASSERT_EQ(length, 24) << "request " << i;
            EXPECT_GE(NowMs() - start, c.atLeastMs);
            const int32_t expected[6] = {3, c.status, i, 1, 1, 25 * i};
            EXPECT_EQ(std::memcmp(reply, expected, sizeof(expected)), 0);
            EXPECT_EQ(from, c.answersFrom);
        }
        ASSERT_EQ(monitor.Wait(10000), 0);
        EXPECT_NE(monitor.Output().find(c.counts), std::string::npos) << monitor.Output();
    }
}

TEST(Monitor, CountsAndIgnoresMalformedDatagrams) {
    const unsigned short port = TestPort(0);
    MonitorProcess monitor;
    ASSERT_TRUE(monitor.Start("--port " + std::to_string(port) + " --count 1 --seconds 30"));
    Peer peer(port);

    const int32_t wrongCommand[6] = {4, 0, 0, 0, 0, 50};
    const int32_t levelTooHigh[6] = {3, 0, 0, 0, 0, 101};
    const int32_t badAttribute[6] = {3, 0, 0, 0, 3, 50};  // 0 logo, 1 SLI bridge, 2 zones: no 3
    const uint8_t shortOne[10] = {3};
    uint8_t longOne[32] = {3};
    const struct { const void* bytes; int length; } junk[] = {
        {wrongCommand, 24}, {levelTooHigh, 24}, {badAttribute, 24}, {shortOne, 10}, {longOne, 32}, {longOne, 0},
    };
    for (const auto& datagram : junk) peer.Send(datagram.bytes, datagram.length);
    int32_t reply[6];
    EXPECT_EQ(peer.Receive(reply, 300), -1) << "malformed datagrams get no answer";

    peer.SendRequest(0, 0, 0, 100);
    EXPECT_EQ(peer.Receive(reply, 2000), 24);
    ASSERT_EQ(monitor.Wait(10000), 0);
    EXPECT_NE(monitor.Output().find("requests=1 answered=1 dropped=0 malformed=6"), std::string::npos)
        << monitor.Output();
}

// The requests are windowed: at most 16 are in flight, a new one goes out as each answer
// comes back, so the loopback buffers never overflow and every answer must arrive.
TEST(Monitor, AnswersEveryRequestOfABurstOfTenThousand) {
    constexpr int kRequests = 10000;
    constexpr int kWindow = 16;
    const unsigned short port = TestPort(0);
    MonitorProcess monitor;
    ASSERT_TRUE(monitor.Start("--port " + std::to_string(port) + " --count 10000 --seconds 300"));
    Peer peer(port);

    std::vector<char> answered(kRequests, 0);
    int sent = 0;
    int received = 0;
    for (; sent < kWindow; ++sent) peer.SendRequest(sent, 0, sent % 2, sent % 101);
    while (received < kRequests) {
        int32_t reply[6];
        const int length = peer.Receive(reply, 2000);
        ASSERT_EQ(length, 24) << "an answer was lost after " << received;
        const int32_t id = reply[2];
        ASSERT_TRUE(id >= 0 && id < kRequests && !answered[id]) << "unexpected answer " << id;
        answered[id] = 1;
        EXPECT_EQ(reply[1], 1);
        ++received;
        if (sent < kRequests) {
            peer.SendRequest(sent, 0, sent % 2, sent % 101);
            ++sent;
        }
    }
    ASSERT_EQ(monitor.Wait(10000), 0);
    EXPECT_NE(monitor.Output().find("requests=10000 answered=10000 dropped=0 malformed=0"), std::string::npos)
        << monitor.Output();
}

TEST(Monitor, WritesEveryChangeToTheCsvFile) {
    const unsigned short port = TestPort(0);
    const std::string csv = "monitor-lights-" + std::to_string(GetCurrentProcessId()) + ".csv";
    DeleteFileA(csv.c_str());
    {
        MonitorProcess monitor;
        ASSERT_TRUE(monitor.Start("--port " + std::to_string(port) + " --count 2 --seconds 30 --csv " + csv));
        Peer peer(port);
        int32_t reply[6];
        peer.SendRequest(0, 1, 0, 80);
        ASSERT_EQ(peer.Receive(reply, 2000), 24);
        peer.SendRequest(2, 0, 1, 20);
        ASSERT_EQ(peer.Receive(reply, 2000), 24);
        ASSERT_EQ(monitor.Wait(10000), 0);
    }
    const std::string lines = ReadFile(csv);
    DeleteFileA(csv.c_str());
    EXPECT_EQ(lines.find("time_ms,display,gpu,attribute,level\n"), 0u) << lines;
    EXPECT_NE(lines.find(",0,1,0,80\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(",2,0,1,20\n"), std::string::npos) << lines;
}

}  // namespace
