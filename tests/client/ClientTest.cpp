// The illumination client against a real UDP service on 127.0.0.1:30000.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "client/CLUMOCLI.h"
#include "tests/client/UdpEndpoints.h"
#include "tests/client/UdpService.h"
#include "client/WS32LIB.h"
#include "client/WinsockEntries.h"
#include "tests/common/Stopwatch.h"

namespace {

// Longest a failed exchange may take: the reply bound, the pause, and room for a busy machine.
constexpr double kExchangeBoundMs = CLUMOCLI::kReplyTimeoutMs + 5 + 150;

// WinSock loaded and started for a client that is not open yet, with the service listening
// (unless a test says otherwise); the client is closed whatever the test did.
struct StartedClient : ::testing::Test {
    UdpService service;
    CLUMOCLI client;
    bool startService = true;

    void SetUp() override {
        if (startService) {
            ASSERT_TRUE(service.Start()) << "port 30000 stayed busy";
        }
        ASSERT_EQ(WS32LIB_LoadDLL(), 0);
        ASSERT_EQ(WS32LIB::WSAStartup(2, &client.wsaData), 0);
    }
    void TearDown() override {
        client.Close();
        EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);
    }
};

struct OpenClient : StartedClient {
    void SetUp() override {
        StartedClient::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(client.Open(), 0);
    }
};

TEST_F(OpenClient, SendsTheRequestAsSixLittleEndianWords) {
    EXPECT_EQ(client.SetIllumination(1, 2, 1, 100), 1);
    const std::vector<ReceivedDatagram> got = service.Received();
    ASSERT_EQ(got.size(), 1u);
    ASSERT_EQ(got[0].length, 24);
    const uint8_t expected[24] = {3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0x64, 0, 0, 0};
    EXPECT_TRUE(std::equal(expected, expected + 24, got[0].bytes.begin()));
    EXPECT_EQ(got[0].arrivedAtPort, 30000);
}

TEST_F(OpenClient, OnlyAFullReplyWithStatusDoneConfirms) {
    struct Case { int32_t status; int length; int result; };
    const Case cases[] = {
        {1, 24, 1}, {0, 24, 0}, {2, 24, 0}, {-1, 24, 0},  // status decides
        {1, 20, 0}, {1, 0, 0}, {1, 28, 0}, {1, 64, 0},    // short, empty and long replies fail
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "status " << c.status << " length " << c.length);
        ReplyScript script;
        script.status = c.status;
        script.length = c.length;
        service.Script(script);
        EXPECT_EQ(client.SetIllumination(0, 0, 0, 50), c.result);
    }
    EXPECT_EQ(service.Received().size(), sizeof(cases) / sizeof(cases[0]));
}

TEST_F(OpenClient, LearnsThePortOnlyFromRepliesThatArrived) {
    ReplyScript silent;
    silent.silent = true;
    ReplyScript moved;
    moved.fromOtherPort = true;
    const ReplyScript normal;
    const unsigned short other = service.OtherPort();
    struct Step { const ReplyScript& script; int result; unsigned short arrivesAt; };
    const Step steps[] = {
        {silent, 0, 30000},  // no reply yet: nothing to learn, the port stays 30000
        {normal, 1, 30000},
        {moved, 1, 30000},   // answered from another port...
        {normal, 1, other},  // ...so the next request goes there
        {silent, 0, other},
        {normal, 1, other},  // a timeout keeps the learned port
    };
    for (const Step& step : steps) {
        service.Script(step.script);
        EXPECT_EQ(client.SetIllumination(0, 0, 0, 10), step.result);
    }
    const std::vector<ReceivedDatagram> got = service.Received();
    ASSERT_EQ(got.size(), sizeof(steps) / sizeof(steps[0]));
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].arrivedAtPort, steps[i].arrivesAt) << "request " << i;
}

TEST_F(OpenClient, AServiceThatNeverAnswersCostsOneBoundedWait) {
    ReplyScript silent;
    silent.silent = true;
    service.Script(silent);
    const double start = NowMs();
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 70), 0);
    const double elapsed = NowMs() - start;
    EXPECT_GE(elapsed, CLUMOCLI::kReplyTimeoutMs * 0.8);  // it did wait for the reply
    EXPECT_LT(elapsed, kExchangeBoundMs);
    EXPECT_EQ(service.Received().size(), 1u);
}

// A reply that comes after its exchange gave up must not confirm the request after it.
TEST_F(OpenClient, ALateReplyConfirmsNothingThatFollows) {
    ReplyScript late;
    late.delayMs = CLUMOCLI::kReplyTimeoutMs + 50;  // arrives while the next request waits
    ReplyScript silent;
    silent.silent = true;
    service.ScriptSequence({late, silent});
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 10), 0);  // timed out
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 20), 0);  // its own reply never came
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 30), 1);  // and the client still works
    EXPECT_EQ(service.Received().size(), 3u);
}

// A socket of the test's own on 127.0.0.1, to which the sender below writes as well: it shows
// that the datagrams from 127.0.0.2 have begun to flow, and that they do come from there.
class Probe {
public:
    Probe() {
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof local;
        socket_ = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        if (socket_ == INVALID_SOCKET || ::bind(socket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length) != 0)
            return;
        port_ = ntohs(local.sin_port);
    }
    ~Probe() {
        if (socket_ != INVALID_SOCKET) ::closesocket(socket_);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    unsigned short Port() const { return port_; }

    // The address of the first datagram to come within `timeoutMs`, 0 when none came.
    unsigned long FirstSender(long timeoutMs) {
        sockaddr_in from = {};
        return Receive(timeoutMs, from) ? from.sin_addr.s_addr : 0;
    }

    // Reads until nothing has come for `quietMs`; false when datagrams still came after
    // `timeoutMs`.
    bool WaitQuiet(long quietMs, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        sockaddr_in from = {};
        while (Receive(quietMs, from))
            if (GetTickCount() - start > timeoutMs) return false;
        return true;
    }

private:
    bool Receive(long timeoutMs, sockaddr_in& from) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval wait = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        if (::select(0, &readable, nullptr, nullptr, &wait) != 1) return false;
        char bytes[64];
        int length = sizeof from;
        return ::recvfrom(socket_, bytes, sizeof bytes, 0, reinterpret_cast<sockaddr*>(&from), &length) >= 0;
    }

    SOCKET socket_ = INVALID_SOCKET;
    unsigned short port_ = 0;
};

// Sends reply-shaped datagrams (status done) from 127.0.0.2 to 127.0.0.1:port and to the
// probe, one every 10 ms for a second, from a Linux program: Wine binds a Windows socket asked
// for 127.0.0.2 to the loopback device instead, so its datagrams would leave from 127.0.0.1.
// False where no such program can be started (not under Wine). Wine starts it without giving
// out a handle to it, so the probe tells when it is done.
bool SendFromOtherHost(unsigned short port, unsigned short probePort) {
    std::string command =
        "Z:\\usr\\bin\\python3 -c \"import socket,struct,time;s=socket.socket(2,2);s.bind(('127.0.0.2',0));"
        "m=struct.pack('<6i',3,1,0,0,0,10);"
        "[(s.sendto(m,('127.0.0.1'," +
        std::to_string(port) + ")),s.sendto(m,('127.0.0.1'," + std::to_string(probePort) +
        ")),time.sleep(0.01)) for i in range(100)]\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return true;
}

// Only the service on this machine answers this request: a datagram from another address
// (waiting before the request, or coming while the reply is awaited) and the second copy of
// a reply sent twice, waiting when the next request goes out, confirm nothing and move no
// port. (A reply's fields besides its status are not examined, so a copy that comes while a
// later request waits can't be told from that request's own reply.)
TEST_F(OpenClient, OnlyAReplyFromTheServiceToThisRequestConfirms) {
    ReplyScript silent;
    silent.silent = true;
    ReplyScript twice;
    twice.twice = true;
    ASSERT_EQ(client.SetIllumination(0, 0, 0, 1), 1);
    const unsigned short clientPort = service.Received().back().sentFromPort;

    service.Script(silent);
    Probe probe;
    ASSERT_NE(probe.Port(), 0);
    if (!SendFromOtherHost(clientPort, probe.Port())) GTEST_SKIP() << "no program can send from 127.0.0.2 here";
    // The datagrams have begun to come; they go on for about a second, before and while the
    // request waits.
    const unsigned long from = probe.FirstSender(10000);
    EXPECT_EQ(from, htonl(0x7F000002)) << "the datagrams did not come from 127.0.0.2";
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 2), 0) << "a datagram from 127.0.0.2 confirmed the request";
    EXPECT_TRUE(probe.WaitQuiet(200, 10000)) << "the datagrams from 127.0.0.2 never ended";

    service.Script(twice);
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 3), 1);
    Sleep(20);  // the second copy arrives before the next request
    service.Script(silent);
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 4), 0) << "the second copy confirmed the next request";

    service.Script(ReplyScript());
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 5), 1);
    const std::vector<ReceivedDatagram> got = service.Received();
    ASSERT_EQ(got.size(), 5u);
    for (const ReceivedDatagram& request : got) EXPECT_EQ(request.arrivedAtPort, 30000) << "the port moved";
}

// The exchanges of one frame share one bound on their waiting: once it is used up, the
// frame's further requests fail at once; a new frame has the whole bound again.
TEST_F(OpenClient, AFrameWaitsAtMostItsBoundInAll) {
    ReplyScript slow;
    slow.delayMs = 60;
    service.Script(slow);
    client.StartFrame();
    const double start = NowMs();
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 1), 1);  // 60 ms
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 2), 0);  // 40 ms left: not enough
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 3), 0);  // nothing left: not even sent
    const double frameMs = NowMs() - start;
    EXPECT_GE(frameMs, CLUMOCLI::kFrameBoundMs * 0.9);
    EXPECT_LT(frameMs, CLUMOCLI::kFrameBoundMs + 3 * 5 + 100);
    EXPECT_EQ(service.Received().size(), 2u);

    Sleep(100);  // the late answer to the second request comes and goes
    client.StartFrame();
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 4), 1);
}

TEST_F(OpenClient, EveryExchangeEndsWithAPauseOfOneToFiveMs) {
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        const double start = NowMs();
        ASSERT_EQ(client.SetIllumination(0, 0, 0, i), 1);
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    EXPECT_GE(times.front(), 0.9);            // never without a pause
    EXPECT_LT(times[times.size() / 2], 20.0);  // and the pause stays short

    int seen[7] = {};
    for (int i = 0; i < 2000; ++i) {
        const unsigned pause = client.NextPauseMs();
        ASSERT_GE(pause, 1u);
        ASSERT_LE(pause, 5u);
        ++seen[pause];
    }
    for (int ms = 1; ms <= 5; ++ms) EXPECT_GT(seen[ms], 0) << ms;
}

struct NothingListening : OpenClient {
    NothingListening() { startService = false; }
};

TEST_F(NothingListening, TheRequestFailsWithinTheBound) {
    const double start = NowMs();
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 100), 0);
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 25), 0);
    EXPECT_LT(NowMs() - start, 2 * kExchangeBoundMs);
}

// Open binds the socket to 127.0.0.1 before anything is sent, so it never listens on every
// interface; its requests go out from that endpoint.
TEST_F(StartedClient, OpenBindsTheSocketToLoopbackBeforeTheFirstSend) {
    const std::vector<UdpEndpoint> before = UdpEndpoints();
    ASSERT_EQ(client.Open(), 0);
    std::vector<UdpEndpoint> added;
    for (const UdpEndpoint& endpoint : UdpEndpoints()) {
        const bool known = std::any_of(before.begin(), before.end(), [&](const UdpEndpoint& old) {
            return old.address == endpoint.address && old.port == endpoint.port;
        });
        if (!known) added.push_back(endpoint);
    }
    ASSERT_EQ(added.size(), 1u) << "Open made one bound socket";
    EXPECT_EQ(added[0].address, htonl(INADDR_LOOPBACK));
    EXPECT_NE(added[0].port, 0);

    EXPECT_EQ(client.SetIllumination(0, 0, 0, 1), 1);
    const std::vector<ReceivedDatagram> got = service.Received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].sentFromPort, added[0].port);
    const std::vector<UdpEndpoint> used = UdpEndpointsAt(UdpEndpoints(), added[0].port);
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0].address, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(used[0].ownerPid, GetCurrentProcessId());
}

// Stands in for WinSock's bind while a test runs, refusing every address, and puts the real
// entry point back when it goes.
struct RefusedBind {
    static int WSAAPI Refuse(SOCKET s, const sockaddr*, int) {
        refused = s;
        WSASetLastError(WSAEADDRNOTAVAIL);
        return SOCKET_ERROR;
    }
    RefusedBind() : real(WS32LIB::bind) { WS32LIB::bind = &Refuse; }
    ~RefusedBind() { WS32LIB::bind = real; }
    decltype(WS32LIB::bind) real;
    static SOCKET refused;
};
SOCKET RefusedBind::refused = INVALID_SOCKET;

TEST_F(StartedClient, ASocketThatCannotBeBoundIsClosedAndOpenFails) {
    {
        const RefusedBind refusing;
        EXPECT_EQ(client.Open(), -1);
    }
    EXPECT_NE(RefusedBind::refused, INVALID_SOCKET) << "Open tried to bind";
    // The refused socket is gone: WinSock no longer knows its handle.
    int type = 0;
    int length = sizeof(type);
    EXPECT_EQ(getsockopt(RefusedBind::refused, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length),
              SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 1), 0);  // nothing to send with
    EXPECT_TRUE(service.Received().empty());
}

TEST(ClosedClient, RefusesWorkWithoutWinsockInsteadOfCrashing) {
    ASSERT_EQ(WS32LIB_GetLoadCount(), 0u);
    CLUMOCLI client;
    EXPECT_EQ(client.Open(), -1);
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 100), 0);
    client.Close();
    EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);
}

TEST(ClosedClient, CloseWithNothingLoadedLeavesAnOpenSocketAlone) {
    UdpService service;
    ASSERT_TRUE(service.Start());
    CLUMOCLI client;
    ASSERT_EQ(WS32LIB_LoadDLL(), 0);
    ASSERT_EQ(WS32LIB::WSAStartup(2, &client.wsaData), 0);
    ASSERT_EQ(client.Open(), 0);

    // Somebody else unloads WinSock; Close then has nothing to do.
    WS32LIB_UnloadDLL();
    client.Close();
    EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);

    // Loaded again, the same socket still reaches the service.
    ASSERT_EQ(WS32LIB_LoadDLL(), 0);
    EXPECT_EQ(client.SetIllumination(0, 0, 0, 5), 1);
    client.Close();
    EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);
}

}  // namespace
