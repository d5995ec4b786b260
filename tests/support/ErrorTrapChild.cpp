// A program that makes a CSTR append fail and so ends in its error trap.
//   error_trap_child.exe handler <marker file>   registers a handler that creates the file
//   error_trap_child.exe none                    registers nothing
// The text appended is 4 GiB - 1 characters long, more than the string's 32-bit length can
// hold together with the one character already there. It costs 2 MiB: one block of 'a's is
// mapped again and again into consecutive addresses, and a last block ends in the NUL.
#include <windows.h>

#include <cstring>

#include "support/CSTR.h"

namespace {

constexpr SIZE_T kBlock = 1 << 20;
constexpr SIZE_T kBlocks = 4096;
const char* g_Marker = nullptr;

void CreateMarker() {
    HANDLE h = CreateFileA(g_Marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

HANDLE FilledBlock(bool terminated) {
    HANDLE section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlock, nullptr);
    if (!section) return nullptr;
    char* view = static_cast<char*>(MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, kBlock));
    if (!view) return nullptr;
    std::memset(view, 'a', kBlock);
    if (terminated) view[kBlock - 1] = '\0';
    UnmapViewOfFile(view);
    return section;
}

const char* HugeText() {
    HANDLE fill = FilledBlock(false);
    HANDLE last = FilledBlock(true);
    if (!fill || !last) return nullptr;
    // Find a free range of addresses large enough, then map the blocks into it.
    char* base = static_cast<char*>(VirtualAlloc(nullptr, kBlock * kBlocks, MEM_RESERVE, PAGE_NOACCESS));
    if (!base) return nullptr;
    VirtualFree(base, 0, MEM_RELEASE);
    for (SIZE_T i = 0; i < kBlocks; ++i) {
        char* at = base + i * kBlock;
        void* view = MapViewOfFileEx(i + 1 < kBlocks ? fill : last, FILE_MAP_READ, 0, 0, kBlock, at);
        if (view != at) return nullptr;
    }
    return base;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 10;
    const char* text = HugeText();
    if (!text) return 11;  // the test could not be set up
    CSTR s("x");
    if (std::strcmp(argv[1], "handler") == 0) {
        if (argc < 3) return 10;
        g_Marker = argv[2];
        s.RegisterErrorTrap(CreateMarker);
    }
    s.Append(text);
    return 12;  // the append came back: the trap did not end the process
}
