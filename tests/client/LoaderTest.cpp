// The WinSock loader: its count, its handle and its failure rules, on the real libraries.
#include <gtest/gtest.h>

#include <string>

#include "client/WS32LIB.h"
#include "client/WinsockEntries.h"

namespace {

void UnloadAll() {
    for (int i = 0; i < 100 && WS32LIB_GetLoadCount() != 0; ++i) WS32LIB_UnloadDLL();
}

struct Sequence {
    const char* steps;  // L = load, U = unload
    unsigned count;
    int loaded;
};

TEST(WinsockLoader, CountsAndHandleFollowLoadsAndUnloads) {
    const Sequence rows[] = {
        {"L", 1, 1}, {"LL", 2, 1}, {"LLU", 1, 1}, {"LLUU", 0, 0}, {"LLLL", 4, 1},
        {"U", 0, 0}, {"LUU", 0, 0}, {"LULU", 0, 0}, {"LLLUL", 3, 1},
    };
    for (const Sequence& row : rows) {
        SCOPED_TRACE(row.steps);
        UnloadAll();
        HINSTANCE first = nullptr;
        for (const char* step = row.steps; *step; ++step) {
            if (*step == 'U') {
                WS32LIB_UnloadDLL();
                continue;
            }
            ASSERT_EQ(WS32LIB_LoadDLL(), 0);
            // Loads above the first reuse the library: the handle never changes.
            if (WS32LIB_GetLoadCount() > 1) {
                EXPECT_EQ(WS32LIB_GetDLLHandle(), first);
            }
            first = WS32LIB_GetDLLHandle();
        }
        EXPECT_EQ(WS32LIB_GetLoadCount(), row.count);
        EXPECT_EQ(WS32LIB_IsLoadDLL(), row.loaded);
        if (row.count) {
            EXPECT_NE(WS32LIB_GetDLLHandle(), nullptr);
            EXPECT_EQ(WS32LIB_GetDLLHandle(), GetModuleHandleA("WSOCK32.DLL"));
            EXPECT_NE(WS32LIB::recvfrom, nullptr);
        } else {
            EXPECT_EQ(WS32LIB_GetDLLHandle(), nullptr);
        }
    }
    UnloadAll();
}

// Users on several threads at once: every load is matched by its unload, and the last one
// lets the library go.
TEST(WinsockLoader, LoadsAndUnloadsFromFourThreadsEndUnloaded) {
    UnloadAll();
    struct Worker {
        static DWORD WINAPI Run(void*) {
            for (int i = 0; i < 500; ++i) {
                if (WS32LIB_LoadDLL() != 0) return 1;
                WS32LIB_UnloadDLL();
            }
            return 0;
        }
    };
    HANDLE threads[4];
    for (HANDLE& thread : threads) thread = CreateThread(nullptr, 0, &Worker::Run, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForMultipleObjects(4, threads, TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE thread : threads) {
        DWORD code = 99;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(code, 0u) << "a load failed";
        CloseHandle(thread);
    }
    EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);
    EXPECT_EQ(WS32LIB_GetDLLHandle(), nullptr);
    EXPECT_EQ(GetModuleHandleA("WSOCK32.DLL"), nullptr) << "the library stayed loaded";
}

TEST(WinsockLoader, ResolvesEveryEntryPointFromTheSystemLibrary) {
    UnloadAll();
    ASSERT_EQ(WS32LIB_LoadDLL(), 0);
    HMODULE library = WS32LIB_GetDLLHandle();
    // The first and the last entry points, and two in between, are the library's own.
    EXPECT_EQ(reinterpret_cast<void*>(WS32LIB::__WSAFDIsSet),
              reinterpret_cast<void*>(GetProcAddress(library, "__WSAFDIsSet")));
    EXPECT_EQ(reinterpret_cast<void*>(WS32LIB::WSAStartup),
              reinterpret_cast<void*>(GetProcAddress(library, "WSAStartup")));
    EXPECT_EQ(reinterpret_cast<void*>(WS32LIB::sendto), reinterpret_cast<void*>(GetProcAddress(library, "sendto")));
    EXPECT_EQ(reinterpret_cast<void*>(WS32LIB::recvfrom),
              reinterpret_cast<void*>(GetProcAddress(library, "recvfrom")));
    EXPECT_EQ(WS32LIB::htons(0x1234), 0x3412);
    WS32LIB_UnloadDLL();
}

// The system's WinSock library can't be made to fail honestly, so the failure rules run on
// other real libraries through the same loading routine.
TEST(WinsockLoader, ALibraryThatCannotBeLoadedFailsWithNothingHeld) {
    UnloadAll();
    EXPECT_EQ(WS32LIB::LoadFrom("GLOWMETER_NO_SUCH_LIBRARY.DLL"), -1);
    EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);
    EXPECT_EQ(WS32LIB_IsLoadDLL(), 0);
    EXPECT_EQ(WS32LIB_GetDLLHandle(), nullptr);
}

TEST(WinsockLoader, ALibraryWithoutTheEntryPointsStaysMappedUncounted) {
    UnloadAll();
    ASSERT_EQ(WS32LIB_LoadDLL(), 0);
    auto* lastBefore = WS32LIB::recvfrom;
    WS32LIB_UnloadDLL();

    // KERNEL32 has none of the names: the first lookup fails and ends the load.
    EXPECT_EQ(WS32LIB::LoadFrom("KERNEL32.DLL"), -1);
    EXPECT_EQ(WS32LIB_GetLoadCount(), 0u);
    EXPECT_EQ(WS32LIB_IsLoadDLL(), 0);
    EXPECT_EQ(WS32LIB_GetDLLHandle(), GetModuleHandleA("KERNEL32.DLL"));
    EXPECT_EQ(WS32LIB::__WSAFDIsSet, nullptr);
    EXPECT_EQ(WS32LIB::recvfrom, lastBefore);  // names after the missing one are not tried

    // An unload finds nothing counted; the next load starts over on the right library.
    WS32LIB_UnloadDLL();
    EXPECT_EQ(WS32LIB_GetDLLHandle(), GetModuleHandleA("KERNEL32.DLL"));
    ASSERT_EQ(WS32LIB_LoadDLL(), 0);
    EXPECT_EQ(WS32LIB_GetDLLHandle(), GetModuleHandleA("WSOCK32.DLL"));
    EXPECT_NE(WS32LIB::__WSAFDIsSet, nullptr);
    WS32LIB_UnloadDLL();
}

// The plug-in DLL as other programs see it: the loader exported by name, WinSock not imported.
TEST(WinsockLoader, PluginDllExportsTheLoaderAndImportsNoWinsock) {
    HMODULE dll = LoadLibraryA("vis_glowmeter.dll");
    ASSERT_NE(dll, nullptr);
    for (const char* name : {"WS32LIB_LoadDLL", "WS32LIB_UnloadDLL", "WS32LIB_IsLoadDLL", "WS32LIB_GetLoadCount",
                             "WS32LIB_GetDLLHandle"}) {
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    }

    auto* base = reinterpret_cast<const BYTE*>(dll);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(directory.VirtualAddress, 0u);
    int libraries = 0;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry, ++libraries) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        EXPECT_NE(name, "WSOCK32.DLL");
        EXPECT_NE(name, "WS2_32.DLL");
    }
    EXPECT_GT(libraries, 0);

    // The exported loader works for a caller of its own.
    auto load = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "WS32LIB_LoadDLL")));
    auto count = reinterpret_cast<unsigned (*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "WS32LIB_GetLoadCount")));
    auto unload = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "WS32LIB_UnloadDLL")));
    ASSERT_TRUE(load && count && unload);
    EXPECT_EQ(load(), 0);
    EXPECT_EQ(count(), 1u);
    unload();
    EXPECT_EQ(count(), 0u);
    FreeLibrary(dll);
}

}  // namespace
