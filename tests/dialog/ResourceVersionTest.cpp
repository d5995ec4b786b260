// The DLL's version resource, read through WIN32VER as the About box reads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialog/Win32Ver.h"
#include "tests/common/ProgramFiles.h"
#include "tests/common/VersionData.h"

namespace {

TEST(Win32Ver, ReadsTheStringsOfThePluginsVersionResource) {
    WIN32VER version;
    ASSERT_EQ(version.Open(PluginPath().c_str()), 1);
    EXPECT_EQ(version.language, 0x0000);
    EXPECT_EQ(version.codePage, 0x04B0);
    ASSERT_NE(version.fileName, nullptr);
    EXPECT_STREQ(version.fileName, PluginPath().c_str());

    struct Row { const char* name; const char* value; };
    const Row rows[] = {
        {"FileDescription", "Glowmeter"},
        {"ProductName", "Glowmeter"},
        {"FileVersion", "1.03"},
        {"ProductVersion", "1.03"},
        {"InternalName", "vis_glowmeter"},
        {"OriginalFilename", "vis_glowmeter.dll"},
        {"SpecialBuild", "For WinAMP"},
        {"CompanyName", "Glowmeter contributors"},
        {"LegalTrademarks", "Glowmeter contributors"},
        {"LegalCopyright", "Copyright (C) 2026 Glowmeter contributors"},
        {"Comments", "(null)"},      // present but empty
        {"PrivateBuild", "(null)"},
        {"NoSuchEntry", "(error)"},  // missing
    };
    for (const Row& row : rows) EXPECT_STREQ(version.QueryString(row.name), row.value) << row.name;
}

TEST(Win32Ver, FixedPartNamesVersionOneZeroThreeZero) {
    const std::string data = VersionData(PluginPath());
    const VS_FIXEDFILEINFO* info = FixedVersion(data);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(info->dwFileVersionLS, 0x00030000u);
    EXPECT_EQ(info->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(info->dwProductVersionLS, 0x00030000u);
    EXPECT_EQ(info->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(info->dwFileFlags, 0u);
    EXPECT_EQ(info->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(info->dwFileSubtype, 0u);
}

// Files without version data, and queries on an object that holds none, never read stray
// memory: every string then reads "(error)".
TEST(Win32Ver, FailedOpensLeaveNothingToQuery) {
    const std::string missing = ProgramFolder() + "no-such-file.dll";
    char programPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, programPath, MAX_PATH);  // a test program has no version resource

    WIN32VER version;
    EXPECT_STREQ(version.QueryString("FileVersion"), "(error)") << "never opened";
    for (const char* name : {missing.c_str(), static_cast<const char*>(programPath)}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(version.Open(PluginPath().c_str()), 1);
        EXPECT_EQ(version.Open(name), 0);
        EXPECT_STREQ(version.QueryString("FileVersion"), "(error)");
    }
    EXPECT_EQ(version.Open(nullptr), 0);

    // Opening again after a failure works.
    ASSERT_EQ(version.Open(PluginPath().c_str()), 1);
    EXPECT_STREQ(version.QueryString("FileVersion"), "1.03");
}

TEST(Win32Ver, NameTooLongForTheQueryPathIsMissing) {
    WIN32VER version;
    ASSERT_EQ(version.Open(PluginPath().c_str()), 1);
    // The query path "\StringFileInfo\000004b0\<name>" has 128 characters. Cut off after
    // 127, this name would read "FileVersion" followed by separators only, which the version
    // lookup skips: the entry FileVersion would answer for a name that is not there.
    const std::string name = "FileVersion" + std::string(100, '\\') + "Nope";
    const std::string cut = ("\\StringFileInfo\\000004b0\\" + name).substr(0, 127);
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(version.versionData, cut.c_str(), &value, &length)) << "the hazard is real";

    EXPECT_STREQ(version.QueryString(name.c_str()), "(error)");
    EXPECT_STREQ(version.QueryString("FileVersion"), "1.03");
}

}  // namespace
