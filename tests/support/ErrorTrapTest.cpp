// An allocation that can't be made ends the process through the error trap: the handler
// recorded by RegisterErrorTrap runs first, and the exit code reports the failure.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/ScratchFolder.h"

namespace {

std::string ProgramFolder() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.rfind('\\'));
}

// Runs the helper with the given arguments; its exit code, or -1 if it could not be run
// or did not end within a minute.
long RunChild(const std::string& arguments) {
    std::string command = "\"" + ProgramFolder() + "\\error_trap_child.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

TEST(CstrErrorTrap, CallsTheRecordedHandlerThenExitsWithFailure) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string marker = folder.File("handler-ran");
    EXPECT_EQ(RunChild("handler \"" + marker + "\""), EXIT_FAILURE);
    EXPECT_TRUE(ScratchFolder::Exists(marker)) << "the recorded handler was not called";
}

TEST(CstrErrorTrap, ExitsWithFailureWithoutAHandler) { EXPECT_EQ(RunChild("none"), EXIT_FAILURE); }

}  // namespace
