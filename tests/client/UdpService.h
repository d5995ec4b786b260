#pragma once
// A scripted stand-in for the local illumination service: a UDP socket on 127.0.0.1 served
// by a thread of its own, which records every datagram and answers as the script says.
#include <winsock2.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

struct ReplyScript {
    int32_t status = 1;          // status written into the reply
    int length = 24;             // bytes sent back (a message is 24)
    bool silent = false;         // take requests, never answer
    bool fromOtherPort = false;  // answer from a second socket on another port
    bool twice = false;          // send the reply twice
    DWORD delayMs = 0;           // answer this long after the request came
};

struct ReceivedDatagram {
    std::array<uint8_t, 64> bytes;
    int length;
    unsigned short arrivedAtPort;  // the service port the datagram was sent to
    unsigned short sentFromPort;   // the sender's port
};

class UdpService {
public:
    explicit UdpService(unsigned short port = 30000);
    ~UdpService();
    UdpService(const UdpService&) = delete;
    UdpService& operator=(const UdpService&) = delete;

    // Binds both sockets (retrying for a few seconds while the port is taken) and starts
    // serving; false when the port could not be had.
    bool Start();
    void Stop();

    void Script(const ReplyScript& script);
    // Request n (from 0) is answered by sequence[n]; requests after the sequence by Script's.
    void ScriptSequence(const std::vector<ReplyScript>& sequence);
    std::vector<ReceivedDatagram> Received();
    unsigned short Port() const { return port; }
    unsigned short OtherPort() const { return otherPort; }

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Serve();
    void Answer(SOCKET from, const sockaddr_in& to, uint8_t* bytes, int length, size_t index);

    unsigned short port;
    unsigned short otherPort = 0;
    SOCKET main = INVALID_SOCKET;
    SOCKET other = INVALID_SOCKET;
    HANDLE thread = nullptr;
    volatile LONG stop = 0;
    CRITICAL_SECTION guard;
    ReplyScript script;
    std::vector<ReplyScript> sequence;
    std::vector<ReceivedDatagram> received;
};
