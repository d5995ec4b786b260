// Finding a value in a profile file's text, as the profile reader finds it.
#include <gtest/gtest.h>

#include <string>

#include "support/ProfileText.h"

namespace {

TEST(ProfileText, FindsTheValueAsTheProfileReaderDoes) {
    const std::string text =
        "; [GLOBAL] in a comment\r\nDecay=1\r\n"
        "[global]\r\n  Decay =  7 \r\nDecay=8\r\n;Wait=3\r\nEmpty=\r\n"
        "[DEVICE1]\nGPU=5\n"
        "[GLOBAL]\r\nLater=1\r\n"
        "[DEVICE2\r\nGPU=9\r\n"
        "[DEVICE3]\r\nGPU=3";  // no line end at the end of the file
    struct Row {
        const char* section;
        const char* key;
        const char* value;  // null: not found
    };
    const Row rows[] = {
        {"GLOBAL", "Decay", "7"},     // names without case, blanks trimmed, the first key counts
        {"GLOBAL", "decay", "7"},
        {"GLOBAL", "Empty", ""},
        {"GLOBAL", "Wait", nullptr},  // a comment line holds no key
        {"GLOBAL", "Later", nullptr}, // only the first section of a name counts
        {"DEVICE1", "GPU", "5"},
        {"DEVICE2", "GPU", nullptr},  // no closing bracket: no section
        {"DEVICE3", "GPU", "3"},
        {"NONE", "GPU", nullptr},
    };
    for (const Row& row : rows) {
        std::string value = "unchanged";
        const bool found = FindProfileValue(text, row.section, row.key, value);
        EXPECT_EQ(found, row.value != nullptr) << row.section << "/" << row.key;
        if (row.value) {
            EXPECT_EQ(value, row.value) << row.section << "/" << row.key;
        }
    }
}

TEST(ProfileText, ReadsUtf16AndUtf8Files) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[S]\r\nk=42\r\n")) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    std::string value;
    EXPECT_TRUE(FindProfileValue(ProfileTextOf(utf16), "S", "k", value));
    EXPECT_EQ(value, "42");
    EXPECT_TRUE(FindProfileValue(ProfileTextOf("\xEF\xBB\xBF[S]\nk=1\n"), "S", "k", value));
    EXPECT_EQ(value, "1");
    EXPECT_EQ(ProfileTextOf("plain"), "plain");
}

}  // namespace
