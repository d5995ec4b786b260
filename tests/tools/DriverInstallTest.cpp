// nvapi-sim-install's rules on real files in a scratch folder: a stand-in driver goes where
// there is nothing or another stand-in, never over somebody else's library, and only a
// stand-in is removed.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"
#include "tools/nvapi_sim/DriverInstall.h"

namespace {

const char* const kDriverName = sizeof(void*) == 8 ? "nvapi64.dll" : "nvapi.dll";

// The files a row names: the two stand-ins the build makes, a library without the mark, and
// a file that does not exist.
std::string Source(const std::string& kind) {
    if (kind == "simulated") return ProgramFolder() + "simulated-driver\\" + kDriverName;
    if (kind == "noentry") return ProgramFolder() + "noentry-driver\\" + kDriverName;
    if (kind == "foreign") return ProgramFolder() + "planted_library.dll";
    return ProgramFolder() + "no-such-driver.dll";
}

std::string Bytes(const std::string& kind) { return kind.empty() ? "" : TempFolder::ReadBytes(Source(kind)); }

class DriverInstall : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.Ok()); }
    void Place(const std::string& kind) {
        DeleteFileA(Target().c_str());
        if (!kind.empty()) {
            ASSERT_TRUE(CopyFileA(Source(kind).c_str(), Target().c_str(), FALSE)) << kind;
        }
    }
    std::string Target() const { return folder_.File(kDriverName); }
    std::string TargetBytes() const { return TempFolder::Exists(Target()) ? TempFolder::ReadBytes(Target()) : ""; }
    // Nothing in the folder but the target, if that: no copy left beside it.
    bool OnlyTheTarget() const {
        const std::set<std::string> names = TempFolder::Names(folder_.Path());
        return names.empty() || names == std::set<std::string>{kDriverName};
    }
    TempFolder folder_;
};

TEST_F(DriverInstall, TheMarkTellsTheStandInsApart) {
    EXPECT_TRUE(IsStandInDriver(Source("simulated")));
    EXPECT_TRUE(IsStandInDriver(Source("noentry")));
    EXPECT_FALSE(IsStandInDriver(Source("foreign")));
    EXPECT_FALSE(IsStandInDriver(Source("missing")));
}

TEST_F(DriverInstall, InstallsOnlyAStandInAndOnlyOverNothingOrAStandIn) {
    struct Row {
        const char* what;
        const char* source;
        const char* before;  // what the target holds first ("" nothing)
        InstallResult result;
        const char* after;
    };
    const Row rows[] = {
        {"into an empty place", "simulated", "", InstallResult::kDone, "simulated"},
        {"over a stand-in", "noentry", "simulated", InstallResult::kDone, "noentry"},
        {"the same again", "simulated", "simulated", InstallResult::kDone, "simulated"},
        {"over somebody else's library", "simulated", "foreign", InstallResult::kRefused, "foreign"},
        {"a source without the mark", "foreign", "", InstallResult::kRefused, ""},
        {"a missing source", "missing", "simulated", InstallResult::kFailed, "simulated"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Place(row.before);
        std::string message;
        EXPECT_EQ(InstallStandIn(Source(row.source), Target(), message), row.result) << message;
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(TargetBytes(), Bytes(row.after));
        EXPECT_TRUE(OnlyTheTarget()) << "no half-made copy is left";
    }
}

TEST_F(DriverInstall, ATargetThatCannotBeWrittenFailsAndLeavesNothing) {
    std::string message;
    const std::string target = folder_.File("no-such-folder\\") + kDriverName;
    EXPECT_EQ(InstallStandIn(Source("simulated"), target, message), InstallResult::kFailed);
    EXPECT_NE(message.find("cannot write"), std::string::npos) << message;
    EXPECT_FALSE(TempFolder::Exists(target));
}

TEST_F(DriverInstall, RemovesOnlyAStandIn) {
    struct Row {
        const char* before;
        InstallResult result;
        const char* after;
    };
    const Row rows[] = {
        {"simulated", InstallResult::kDone, ""},
        {"noentry", InstallResult::kDone, ""},
        {"", InstallResult::kDone, ""},
        {"foreign", InstallResult::kRefused, "foreign"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.before);
        Place(row.before);
        std::string message;
        EXPECT_EQ(RemoveStandIn(Target(), message), row.result) << message;
        EXPECT_EQ(TargetBytes(), Bytes(row.after));
        EXPECT_EQ(TempFolder::Exists(Target()), *row.after != '\0');
    }
}

}  // namespace
