// The simulated driver tells about a scenario file that is missing or gives no lights, once
// per process: Winamp frees and loads the plug-in, and with it the driver library, at every
// start and stop, and each load reads the scenario anew. This program does not import the
// driver, so it can load and free it itself; the driver's standard error goes to a file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "gpu/NvApi.h"
#include "support/SystemLibrary.h"
#include "tests/common/TempFolder.h"

namespace {

using QueryInterfaceFn = void* (*)(uint32_t);

class ScenarioReport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.Ok());
        ASSERT_TRUE(SystemLibraryPath(NVAPI_LIBRARY_NAME, driver));
        ASSERT_EQ(GetModuleHandleA(driver), nullptr) << "the driver must not be loaded yet";
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        errFile = CreateFileA(folder.File("stderr.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(errFile, INVALID_HANDLE_VALUE);
        savedErr = GetStdHandle(STD_ERROR_HANDLE);
        SetStdHandle(STD_ERROR_HANDLE, errFile);
    }
    void TearDown() override {
        SetStdHandle(STD_ERROR_HANDLE, savedErr);
        if (errFile != INVALID_HANDLE_VALUE) CloseHandle(errFile);
        SetEnvironmentVariableA("GLOWMETER_NVSIM", nullptr);
    }

    // Loads the driver, makes it read its scenario (its first call does), and frees it again.
    void LoadAndFree() {
        HMODULE dll = LoadLibraryA(driver);
        ASSERT_NE(dll, nullptr);
        auto query = reinterpret_cast<QueryInterfaceFn>(reinterpret_cast<void*>(GetProcAddress(dll, "nvapi_QueryInterface")));
        ASSERT_NE(query, nullptr);
        EXPECT_NE(query(kNvId_Initialize), nullptr);
        FreeLibrary(dll);
        EXPECT_EQ(GetModuleHandleA(driver), nullptr) << "the driver stayed loaded";
    }

    std::string Said() {
        FlushFileBuffers(errFile);
        return TempFolder::ReadBytes(folder.File("stderr.txt"));
    }

    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    TempFolder folder;
    char driver[kSystemLibraryPathSize] = {};
    HANDLE errFile = INVALID_HANDLE_VALUE;
    HANDLE savedErr = nullptr;
};

TEST_F(ScenarioReport, AMissingFileIsToldOnceHoweverOftenTheDriverLoads) {
    SetEnvironmentVariableA("GLOWMETER_NVSIM", folder.File("no-such-machine.ini").c_str());
    for (int i = 0; i < 3; ++i) LoadAndFree();
    const std::string said = Said();
    EXPECT_EQ(Count(said, "simulated NVIDIA driver: no scenario file \"" + folder.File("no-such-machine.ini") +
                              "\" (GLOWMETER_NVSIM): simulating the default machine"),
              1u)
        << said;
    EXPECT_EQ(Count(said, "simulated NVIDIA driver"), 1u) << said;
}

}  // namespace
