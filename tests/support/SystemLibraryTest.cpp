// The system-folder path of a library, and loading from there by either way: a library of
// the same name beside this program or in the current folder is never the one loaded.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "gpu/NvApi.h"
#include "support/SystemLibrary.h"
#include "support/SystemLibraryPath.h"
#include "tests/common/PlantedLibrary.h"

namespace {

TEST(SystemLibraryPath, JoinsTheFolderAndABareFileName) {
    struct Row {
        const char* folder;
        const char* name;
        size_t size;         // room for the path
        const char* joined;  // null: refused, and the path is left empty
    };
    const Row rows[] = {
        {"C:\\Windows\\system32", "nvapi.dll", 260, "C:\\Windows\\system32\\nvapi.dll"},
        {"C:\\", "WSOCK32.DLL", 260, "C:\\WSOCK32.DLL"},  // a root folder keeps its one backslash
        {"C:\\W", "a.dll", 11, "C:\\W\\a.dll"},           // exactly fits with its terminator
        {"C:\\W", "a.dll", 10, nullptr},                  // one short
        {"", "nvapi.dll", 260, nullptr},                  // no system folder
        {"C:\\W", "", 260, nullptr},
        {"C:\\W", "..\\nvapi.dll", 260, nullptr},         // names that reach out of the folder
        {"C:\\W", "sub/nvapi.dll", 260, nullptr},
        {"C:\\W", "D:nvapi.dll", 260, nullptr},
        {"C:\\W", "..", 260, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.folder) + " + " + row.name);
        char path[260];
        std::memset(path, 'x', sizeof path);
        EXPECT_EQ(JoinSystemLibraryPath(row.folder, std::strlen(row.folder), row.name, path, row.size),
                  row.joined != nullptr);
        EXPECT_STREQ(path, row.joined ? row.joined : "");
    }
    EXPECT_FALSE(JoinSystemLibraryPath("C:\\W", 4, nullptr, nullptr, 0));
}

TEST(SystemLibraryPath, NamesTheLibraryInTheSystemFolder) {
    char folder[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(folder, MAX_PATH), 0u);
    char path[kSystemLibraryPathSize];
    ASSERT_TRUE(SystemLibraryPath("WSOCK32.DLL", path));
    EXPECT_EQ(std::string(path), std::string(folder) + "\\WSOCK32.DLL");
    EXPECT_FALSE(SystemLibraryPath("..\\WSOCK32.DLL", path));
    EXPECT_STREQ(path, "");
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

// Each way on a library this process has not loaded yet, planted beside it and in the
// current folder: the system folder's copy is the one that loads.
TEST(LoadSystemLibrary, EitherWayLoadsTheSystemFoldersLibraryOnly) {
    struct Row {
        SystemLibraryLoad how;
        const char* name;
    };
    const Row rows[] = {
        {SystemLibraryLoad::kSearchSystemFolder, NVAPI_LIBRARY_NAME},  // the simulated driver
        {SystemLibraryLoad::kAlteredSearchPath, "WSOCK32.DLL"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(nullptr, GetModuleHandleA(row.name)) << "already loaded: the row would prove nothing";
        const PlantedLibraries planted(row.name);
        ASSERT_TRUE(planted.Ok());
        HMODULE module = LoadSystemLibraryBy(row.name, row.how);
        ASSERT_NE(nullptr, module);
        char expected[kSystemLibraryPathSize];
        ASSERT_TRUE(SystemLibraryPath(row.name, expected));
        EXPECT_EQ(0, lstrcmpiA(ModulePath(module).c_str(), expected)) << ModulePath(module);
        EXPECT_EQ(std::vector<std::string>(), planted.Loaded());
        FreeLibrary(module);
    }
}

TEST(LoadSystemLibrary, ALibraryTheSystemFolderLacksIsNotLoadedFromElsewhere) {
    const PlantedLibraries planted("glowmeter_planted.dll");
    ASSERT_TRUE(planted.Ok());
    for (SystemLibraryLoad how : {SystemLibraryLoad::kSearchSystemFolder, SystemLibraryLoad::kAlteredSearchPath}) {
        EXPECT_EQ(nullptr, LoadSystemLibraryBy("glowmeter_planted.dll", how));
    }
    EXPECT_EQ(nullptr, LoadSystemLibrary("glowmeter_planted.dll"));
    EXPECT_EQ(nullptr, LoadSystemLibrary("..\\planted_library.dll"));
    EXPECT_EQ(std::vector<std::string>(), planted.Loaded());
}

TEST(LoadSystemLibrary, TakesTheSearchFlagsWhereTheSystemHasThem) {
    // Wine, like every Windows since 8, has AddDllDirectory and so the flags.
    EXPECT_TRUE(SystemSearchFlagsAvailable());
    HMODULE kernel = LoadSystemLibrary("KERNEL32.DLL");
    EXPECT_EQ(GetModuleHandleA("KERNEL32.DLL"), kernel);
    if (kernel) FreeLibrary(kernel);
}

}  // namespace
