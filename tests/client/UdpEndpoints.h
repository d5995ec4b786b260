#pragma once
// The machine's IPv4 UDP endpoints with their owning processes, as the system's table lists
// them (GetExtendedUdpTable).
//
// Wine reports a socket's owner only once the owning process has used the socket itself
// (sent or received on it); before that the socket is held for it by Wine's server and its
// owner reads 0. Windows always names the process.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <vector>

struct UdpEndpoint {
    unsigned long address;  // network byte order; 0 is every interface (0.0.0.0)
    unsigned short port;    // host byte order
    unsigned long ownerPid;
};

inline std::vector<UdpEndpoint> UdpEndpoints() {
    std::vector<UdpEndpoint> endpoints;
    std::vector<char> table(4096);
    // The table may grow between the size query and the read: ask again with the new size.
    for (int attempt = 0; attempt < 5; ++attempt) {
        DWORD size = static_cast<DWORD>(table.size());
        const DWORD result = GetExtendedUdpTable(table.data(), &size, FALSE, AF_INET, UDP_TABLE_OWNER_PID, 0);
        if (result == ERROR_INSUFFICIENT_BUFFER) {
            table.resize(size + 1024);
            continue;
        }
        if (result != NO_ERROR) break;
        const auto* rows = reinterpret_cast<const MIB_UDPTABLE_OWNER_PID*>(table.data());
        for (DWORD i = 0; i < rows->dwNumEntries; ++i) {
            const MIB_UDPROW_OWNER_PID& row = rows->table[i];
            endpoints.push_back({row.dwLocalAddr, ntohs(static_cast<u_short>(row.dwLocalPort)), row.dwOwningPid});
        }
        break;
    }
    return endpoints;
}

// The endpoints on `port`, whatever their address.
inline std::vector<UdpEndpoint> UdpEndpointsAt(const std::vector<UdpEndpoint>& endpoints, unsigned short port) {
    std::vector<UdpEndpoint> found;
    for (const UdpEndpoint& endpoint : endpoints)
        if (endpoint.port == port) found.push_back(endpoint);
    return found;
}
