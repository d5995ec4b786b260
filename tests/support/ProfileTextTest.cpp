// Finding a value in a profile file's text, as the profile reader finds it.
#include <gtest/gtest.h>

#include <string>

#include "support/ProfileText.h"

namespace {

// The value of the key, or "<missing>".
std::string Find(std::string bytes, const char* section, const char* key) {
    size_t length = bytes.size();
    const char* text = ProfileTextOf(&bytes[0], length);
    char value[32] = "";
    return FindProfileValue(text, length, section, key, value, sizeof value) ? value : "<missing>";
}

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
        const char* value;
    };
    const Row rows[] = {
        {"GLOBAL", "Decay", "7"},  // names without case, blanks trimmed, the first key counts
        {"GLOBAL", "decay", "7"},
        {"GLOBAL", "Empty", ""},
        {"GLOBAL", "Wait", "<missing>"},   // a comment line holds no key
        {"GLOBAL", "Later", "<missing>"},  // only the first section of a name counts
        {"DEVICE1", "GPU", "5"},
        {"DEVICE2", "GPU", "<missing>"},   // no closing bracket: no section
        {"DEVICE3", "GPU", "3"},
        {"NONE", "GPU", "<missing>"},
    };
    for (const Row& row : rows) EXPECT_EQ(Find(text, row.section, row.key), row.value) << row.section << "/" << row.key;
    // A value longer than the room for it is cut, and terminated.
    std::string bytes = "[S]\nk=0123456789\n";
    size_t length = bytes.size();
    char small[5] = "xxxx";
    EXPECT_TRUE(FindProfileValue(bytes.data(), length, "S", "k", small, sizeof small));
    EXPECT_STREQ(small, "0123");
}

TEST(ProfileText, ReadsUtf16AndUtf8Files) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[S]\r\nk=42\r\n")) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    EXPECT_EQ(Find(utf16, "S", "k"), "42");
    EXPECT_EQ(Find("\xEF\xBB\xBF[S]\nk=1\n", "S", "k"), "1");
}

}  // namespace
