// An allocation that can't be made ends the process through the error trap: the handler
// recorded by RegisterErrorTrap runs first, and the exit code reports the failure.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/common/ChildProcess.h"
#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"

namespace {

// Runs the helper with the given arguments; its exit code, or -1 if it could not be run
// or did not end within a minute.
long RunTrapChild(const std::string& arguments) {
    const ChildResult run = RunChild("\"" + ProgramFolder() + "error_trap_child.exe\" " + arguments, "", 60000);
    if (!run.started || run.timedOut) return -1;
    return static_cast<long>(run.exitCode);
}

TEST(CstrErrorTrap, CallsTheRecordedHandlerThenExitsWithFailure) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string marker = folder.File("handler-ran");
    EXPECT_EQ(RunTrapChild("handler \"" + marker + "\""), EXIT_FAILURE);
    EXPECT_TRUE(TempFolder::Exists(marker)) << "the recorded handler was not called";
}

TEST(CstrErrorTrap, ExitsWithFailureWithoutAHandler) { EXPECT_EQ(RunTrapChild("none"), EXIT_FAILURE); }

}  // namespace
