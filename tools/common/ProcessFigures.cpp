#include "tools/common/ProcessFigures.h"

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

namespace bench {

namespace {

// The system's handle table, as NtQuerySystemInformation lists it (the extended form, whose
// entries carry the owning process). Counting the entries of this process works where the
// process handle count does not (Wine's GetProcessHandleCount always reads 0).
struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};
struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
using QuerySystemFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

long CountHandles() {
    auto query = reinterpret_cast<QuerySystemFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                  &needed);
        if (status == 0) {
            const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
            long mine = 0;
            for (ULONG_PTR i = 0; i < table->count; ++i)
                mine += table->entries[i].processId == GetCurrentProcessId();
            return mine;
        }
        buffer.resize(buffer.size() * 2);
    }
    return -1;
}

long CountThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    long count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Committed private memory, added up over the address space (Wine leaves the figure of
// GetProcessMemoryInfo at 0).
int64_t PrivateBytes() {
    int64_t total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    for (char* address = nullptr; VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += static_cast<int64_t>(region.RegionSize);
        if (region.RegionSize == 0) break;
    }
    return total;
}

int64_t HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    int64_t total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

}  // namespace

ProcessFigures ReadProcessFigures() {
    ProcessFigures figures;
    figures.handles = CountHandles();
    figures.threads = CountThreads();
    figures.privateBytes = PrivateBytes();
    figures.heapBytes = HeapBytesInUse();
    return figures;
}

}  // namespace bench
