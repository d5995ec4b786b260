// glowmeter-monitor's time limit, with the monitor as a child process: it serves until the
// limit and no longer, whatever the size of the limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/common/ChildProcess.h"
#include "tests/common/ProgramFiles.h"

namespace {

// A port of this test run's own, so runs elsewhere on the machine do not collide.
std::string PortOption() { return " --port " + std::to_string(33000 + GetCurrentProcessId() % 4000); }

ChildResult RunMonitor(const std::string& arguments, unsigned long timeoutMs) {
    return RunChild("\"" + ProgramFolder() + "glowmeter-monitor.exe\"" + PortOption() + arguments, ProgramFolder(),
                    timeoutMs);
}

TEST(MonitorTimeLimit, StopsWhenTheLimitIsReached) {
    const ChildResult run = RunMonitor(" --seconds 1", 30000);
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_GE(run.elapsedMs, 900u);
    EXPECT_NE(run.out.find("requests=0"), std::string::npos) << run.out;
}

// A limit whose milliseconds do not fit 32 bits (49.7 days and more) must not wrap round to
// a limit of a moment (4294968 s would be 704 ms): the monitor still serves when the test
// ends it.
TEST(MonitorTimeLimit, ALimitOfWeeksKeepsServing) {
    const ChildResult run = RunMonitor(" --seconds 4294968", 3000);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.timedOut) << "ended after " << run.elapsedMs << " ms: " << run.out;
}

}  // namespace
