#pragma once
// The diagnostic path's UDP client: each brightness change goes as a 24-byte request to the
// local illumination service on 127.0.0.1 port 30000, and waits for the service's reply. Its
// own socket is bound to 127.0.0.1 too, so nothing from the network can reach it.
#include <winsock2.h>
#include <windows.h>
#include <cstdint>
#include "client/LightMessage.h"
#include "support/CCS.h"

class CLUMOCLI {
public:
    CLUMOCLI();
    virtual ~CLUMOCLI();
    CLUMOCLI(const CLUMOCLI&) = delete;
    CLUMOCLI& operator=(const CLUMOCLI&) = delete;

    int Open();   // 0 success, -1 failure
    // A new frame of the render path: its exchanges share one bound on their waiting, so a
    // slow service can't hold a frame for longer (an exchange that finds the bound used up
    // fails at once, as an unanswered one does). Exchanges outside a frame have only their
    // own bound.
    void StartFrame();
    int SetIllumination(int display, int gpu, int attribute, int level);  // 1 confirmed, else 0
    void Close();

    // The pause after an exchange, 1 to 5 ms, drawn from rand().
    unsigned NextPauseMs() const;

    // How long one exchange waits for the reply: a local service answers in well under a
    // millisecond, and a service that never answers must not hold the render thread.
    static constexpr DWORD kReplyTimeoutMs = 100;
    // How long all exchanges of one frame may wait in total.
    static constexpr DWORD kFrameBoundMs = 100;

    WSADATA wsaData;  // filled by the WSAStartup call that Init makes before Open

private:
    bool IsOpen() const;
    int Exchange(LIGHTMSG& message);
    void Drain();                          // drops every datagram already waiting
    int ReceiveReply(LIGHTMSG& message, double waitMs);  // bytes of the service's reply, or SOCKET_ERROR
    SOCKET NewSocket();  // a UDP socket on 127.0.0.1 with the reply wait bounded, or INVALID_SOCKET
    void RenewSocket();  // replaces the socket by a fresh one (0 if none can be made)
    void CloseSocket();

    CCS lock;
    sockaddr_in service;
    sockaddr_in reply;
    int addressLength;
    SOCKET sock;
    unsigned pauseModulus;
    bool inFrame = false;       // a frame of the render path is under way
    double frameLeftMs = 0;     // what its exchanges may still wait
};

// The process's one client.
extern CLUMOCLI g_Client;
