// INIFILE across the DLL boundary on real profile files in a fresh temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/INIFILE.h"
#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"

namespace {

// The value text of key in section, as the platform reads it back from the file.
std::string ValueText(const std::string& file, const char* section, const char* key) {
    char text[2048] = "";
    GetPrivateProfileStringA(section, key, "<missing>", text, sizeof(text), file.c_str());
    return text;
}

LOGFONTA SampleFont() {
    LOGFONTA font = {};
    font.lfHeight = -12;
    font.lfWidth = 5;
    font.lfEscapement = -900;
    font.lfOrientation = 900;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 0;
    font.lfStrikeOut = 1;
    font.lfCharSet = 255;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 4;
    font.lfPitchAndFamily = 34;
    std::snprintf(font.lfFaceName, sizeof(font.lfFaceName), "%s", "Courier New");
    return font;
}

struct IniFile : ::testing::Test {
    TempFolder folder;
    std::string file;
    INIFILE ini;
    void SetUp() override {
        ASSERT_TRUE(folder.Ok());
        file = folder.File("test.ini");
        ASSERT_EQ(ini.Open(file.c_str()), 1);
    }
};

TEST_F(IniFile, TypedWritesGiveTheirExactTextAndReadBack) {
    RECT rect = {1, -2, 3, 4};
    const LOGFONTA font = SampleFont();
    const unsigned long colour = 0xFF332211;
    EXPECT_EQ(ini.Write("V", "uchar", static_cast<unsigned char>(10)), 1);
    EXPECT_EQ(ini.Write("V", "short", static_cast<short>(-1)), 1);
    EXPECT_EQ(ini.Write("V", "ushort", static_cast<unsigned short>(10)), 1);
    EXPECT_EQ(ini.Write("V", "int", -5), 1);
    EXPECT_EQ(ini.Write("V", "uint", 4294967295u), 1);
    EXPECT_EQ(ini.Write("V", "long", -7L), 1);
    EXPECT_EQ(ini.Write("V", "ulong", 10UL), 1);
    EXPECT_EQ(ini.Write("V", "ulongmax", 0xFFFFFFFFUL), 1);
    EXPECT_EQ(ini.Write("V", "float", 1.5f), 1);
    EXPECT_EQ(ini.Write("V", "double", -2.25), 1);
    EXPECT_EQ(ini.Write("V", "formatted", "<%05lu>", 42UL), 1);
    EXPECT_EQ(ini.Write("V", "text", "hello world"), 1);
    EXPECT_EQ(ini.Write("V", "rect", &rect), 1);
    EXPECT_EQ(ini.Write("V", "font", &font), 1);
    EXPECT_EQ(ini.Write("V", "colour", &colour), 1);

    struct Row { const char* key; const char* text; };
    const Row rows[] = {
        {"uchar", "0x0a"}, {"short", "-1"}, {"ushort", "0x000a"}, {"int", "-5"}, {"uint", "4294967295"},
        {"long", "-7"}, {"ulong", "0x0000000a"}, {"ulongmax", "0xffffffff"}, {"float", "1.500000"},
        {"double", "-2.250000"}, {"formatted", "<00042>"}, {"text", "hello world"}, {"rect", "1,-2,3,4"},
        {"font", "-12,5,-900,900,700,1,0,1,255,3,2,4,34,Courier New"}, {"colour", "17,34,51"},
    };
    const std::string bytes = TempFolder::ReadBytes(file);
    for (const Row& row : rows) {
        EXPECT_EQ(ValueText(file, "V", row.key), row.text) << row.key;
        EXPECT_NE(bytes.find(std::string(row.key) + "=" + row.text + "\r\n"), std::string::npos) << row.key;
    }

    unsigned char uc = 0;
    short s = 0;
    unsigned short us = 0;
    int i = 0;
    unsigned int ui = 0;
    long l = 0;
    unsigned long ul = 0, ulmax = 0;
    float f = 0;
    double d = 0;
    char text[64] = "";
    EXPECT_EQ(ini.Read("V", "uchar", static_cast<unsigned char>(0), &uc), 1);
    EXPECT_EQ(ini.Read("V", "short", static_cast<short>(0), &s), 1);
    EXPECT_EQ(ini.Read("V", "ushort", static_cast<unsigned short>(0), &us), 1);
    EXPECT_EQ(ini.Read("V", "int", 0, &i), 1);
    EXPECT_EQ(ini.Read("V", "uint", 0u, &ui), 1);
    EXPECT_EQ(ini.Read("V", "long", 0L, &l), 1);
    EXPECT_EQ(ini.Read("V", "ulong", 0UL, &ul), 1);
    EXPECT_EQ(ini.Read("V", "ulongmax", 0UL, &ulmax), 1);
    EXPECT_EQ(ini.Read("V", "float", 0.0f, &f), 1);
    EXPECT_EQ(ini.Read("V", "double", 0.0, &d), 1);
    EXPECT_EQ(ini.Read("V", "text", "", text, sizeof(text)), 1);
    EXPECT_EQ(uc, 10);
    EXPECT_EQ(s, -1);
    EXPECT_EQ(us, 10);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(ui, 4294967295u);
    EXPECT_EQ(l, -7);
    EXPECT_EQ(ul, 10UL);
    EXPECT_EQ(ulmax, 0xFFFFFFFFUL);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, -2.25);
    EXPECT_STREQ(text, "hello world");

    RECT readRect = {};
    LOGFONTA readFont = {};
    unsigned long readColour = 0xAA000000;
    EXPECT_EQ(ini.Read("V", "rect", &readRect), 1);
    EXPECT_EQ(ini.Read("V", "font", &readFont), 1);
    EXPECT_EQ(ini.Read("V", "colour", &readColour), 1);
    EXPECT_TRUE(EqualRect(&readRect, &rect));
    EXPECT_EQ(std::memcmp(&readFont, &font, sizeof(font)), 0);
    EXPECT_EQ(readColour, 0x00332211UL);
}

TEST_F(IniFile, MissingKeysGiveDefaultsOrLeaveStructuresAlone) {
    ASSERT_EQ(ini.Write("S", "present", "1"), 1);
    unsigned char uc = 0;
    short s = 0;
    unsigned short us = 0;
    int i = 0;
    unsigned int ui = 0;
    long l = 0;
    unsigned long ul = 0;
    float f = 0;
    double d = 0;
    char text[16] = "";
    EXPECT_EQ(ini.Read("S", "none", static_cast<unsigned char>(200), &uc), 1);
    EXPECT_EQ(ini.Read("S", "none", static_cast<short>(-300), &s), 1);
    EXPECT_EQ(ini.Read("S", "none", static_cast<unsigned short>(60000), &us), 1);
    EXPECT_EQ(ini.Read("S", "none", 7, &i), 1);
    EXPECT_EQ(ini.Read("none", "none", 4000000000u, &ui), 1);
    EXPECT_EQ(ini.Read("S", "none", -9L, &l), 1);
    EXPECT_EQ(ini.Read("S", "none", 0x12345678UL, &ul), 1);
    EXPECT_EQ(ini.Read("S", "none", 2.5f, &f), 1);
    EXPECT_EQ(ini.Read("S", "none", -0.5, &d), 1);
    EXPECT_EQ(ini.Read("S", "none", "dflt", text, sizeof(text)), 1);
    EXPECT_EQ(uc, 200);
    EXPECT_EQ(s, -300);
    EXPECT_EQ(us, 60000);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(ui, 4000000000u);
    EXPECT_EQ(l, -9);
    EXPECT_EQ(ul, 0x12345678UL);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(d, -0.5);
    EXPECT_STREQ(text, "dflt");

    // An empty value counts as missing for the floating-point reads.
    ASSERT_EQ(ini.Write("S", "empty", ""), 1);
    EXPECT_EQ(ini.Read("S", "empty", 3.0, &d), 1);
    EXPECT_EQ(d, 3.0);

    RECT rect = {9, 9, 9, 9};
    LOGFONTA font = SampleFont();
    const LOGFONTA before = font;
    unsigned long colour = 0xFF010203;
    EXPECT_EQ(ini.Read("S", "none", &rect), 0);
    EXPECT_EQ(ini.Read("S", "empty", &font), 0);
    EXPECT_EQ(ini.Read("S", "none", &colour), 0);
    EXPECT_EQ(rect.left, 9);
    EXPECT_EQ(rect.bottom, 9);
    EXPECT_EQ(std::memcmp(&font, &before, sizeof(font)), 0);
    EXPECT_EQ(colour, 0xFF010203UL);
}

TEST_F(IniFile, PartialStructureTextsFillWhatTheyHold) {
    struct ColourRow { const char* text; unsigned long expected; };
    const ColourRow colours[] = {
        {"1,2", 0x00330201},      {"1,2,3", 0x00030201},  {"300,-1,5", 0x0005FF2C},
        {"x", 0x00332211},        {" 7 , 8", 0x00332207}, {"1,,3", 0x00332201},
    };
    for (const ColourRow& row : colours) {
        ASSERT_EQ(ini.Write("C", "c", row.text), 1);
        unsigned long colour = 0xFF332211;  // red 17, green 34, blue 51, byte 3 set
        EXPECT_EQ(ini.Read("C", "c", &colour), 1) << row.text;
        EXPECT_EQ(colour, row.expected) << row.text;
    }

    ASSERT_EQ(ini.Write("R", "r", "5,6"), 1);
    RECT rect = {1, 2, 3, 4};
    EXPECT_EQ(ini.Read("R", "r", &rect), 1);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right, 3);
    EXPECT_EQ(rect.bottom, 4);

    // The face name is the text after the last comma; nothing there (or no comma) keeps it.
    struct FontRow { const char* text; LONG height; LONG weight; BYTE charSet; const char* face; };
    const FontRow fonts[] = {
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,Arial", 1, 5, 9, "Arial"},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,", 1, 5, 9, "Courier New"},
        {"20", 20, 700, 255, "Courier New"},
        {"20,21", 20, 700, 255, "21"},
        {"1,2,3,4,5,6,7,8,300,10,11,12,13,A,B", 1, 5, 44, "B"},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,0123456789012345678901234567890123456789", 1, 5, 9,
         "0123456789012345678901234567890"},
    };
    for (const FontRow& row : fonts) {
        ASSERT_EQ(ini.Write("F", "f", row.text), 1);
        LOGFONTA font = SampleFont();
        EXPECT_EQ(ini.Read("F", "f", &font), 1) << row.text;
        EXPECT_EQ(font.lfHeight, row.height) << row.text;
        EXPECT_EQ(font.lfWeight, row.weight) << row.text;
        EXPECT_EQ(font.lfCharSet, row.charSet) << row.text;
        EXPECT_STREQ(font.lfFaceName, row.face) << row.text;
    }
}

TEST_F(IniFile, CreateEmptiesOnlyItsSection) {
    ASSERT_EQ(ini.Write("S", "a", "1"), 1);
    ASSERT_EQ(ini.Write("S", "b", "2"), 1);
    ASSERT_EQ(ini.Write("T", "k", "3"), 1);
    EXPECT_EQ(ini.Create("S"), 1);
    EXPECT_EQ(ValueText(file, "S", "a"), "<missing>");
    EXPECT_EQ(ValueText(file, "S", "b"), "<missing>");
    EXPECT_EQ(ValueText(file, "T", "k"), "3");

    // A section that is not there yet is no failure.
    EXPECT_EQ(ini.Create("New"), 1);
    EXPECT_EQ(ValueText(file, "T", "k"), "3");
}

TEST_F(IniFile, WithoutAPathEveryOperationFailsAndTouchesNothing) {
    INIFILE none;
    EXPECT_EQ(none.Path().Length(), 0u);
    EXPECT_EQ(none.Open(""), 0);
    EXPECT_EQ(none.Path().Length(), 0u);
    EXPECT_EQ(none.Open(nullptr), 1);  // both without text: equal, and still no path
    EXPECT_EQ(none.Path().Length(), 0u);

    ASSERT_EQ(ini.Write("S", "k", 5), 1);
    const std::string before = TempFolder::ReadBytes(file);
    INIFILE closed(ini);
    closed.Close();

    for (INIFILE* target : {&none, &closed}) {
        int i = 42;
        double d = 4.2;
        char text[8] = "keep";
        RECT rect = {1, 1, 1, 1};
        LOGFONTA font = SampleFont();
        unsigned long colour = 77;
        const RECT someRect = {0, 0, 0, 0};
        EXPECT_EQ(target->Read("S", "k", 0, &i), 0);
        EXPECT_EQ(target->Read("S", "k", 0.0, &d), 0);
        EXPECT_EQ(target->Read("S", "k", "", text, sizeof(text)), 0);
        EXPECT_EQ(target->Read("S", "k", &rect), 0);
        EXPECT_EQ(target->Read("S", "k", &font), 0);
        EXPECT_EQ(target->Read("S", "k", &colour), 0);
        EXPECT_EQ(i, 42);
        EXPECT_EQ(d, 4.2);
        EXPECT_STREQ(text, "keep");
        EXPECT_EQ(colour, 77UL);
        EXPECT_EQ(target->Write("S", "k", 1), 0);
        EXPECT_EQ(target->Write("S", "k", 1.0), 0);
        EXPECT_EQ(target->Write("S", "k", "%d", 1UL), 0);
        EXPECT_EQ(target->Write("S", "k", "text"), 0);
        EXPECT_EQ(target->Write("S", "k", &someRect), 0);
        EXPECT_EQ(target->Write("S", "k", &font), 0);
        EXPECT_EQ(target->Write("S", "k", &colour), 0);
        EXPECT_EQ(target->Create("S"), 0);
    }
    EXPECT_EQ(TempFolder::ReadBytes(file), before);
}

// The caller's format gets the one integer it is passed, or nothing is written at all.
TEST_F(IniFile, FormattedWriteTakesOnlyOneIntegerConversion) {
    struct Row {
        const char* format;
        unsigned long value;
        const char* text;  // null: refused, nothing written
    };
    const Row rows[] = {
        {"%d", 4294967295UL, "-1"},
        {"%u", 4294967295UL, "4294967295"},
        {"Level %02d", 7, "Level 07"},
        {"%-4i|", 3, "3   |"},
        {"%#lx", 255, "0xff"},
        {"%X and %%", 171, "AB and %"},
        {"%o", 8, "10"},
        {"%s", 1, nullptr},
        {"%d%d", 1, nullptr},
        {"%n", 1, nullptr},
        {"%*d", 1, nullptr},
        {"%lld", 1, nullptr},
        {"%.3d", 1, nullptr},
        {"no conversion", 1, nullptr},
        {"100%", 1, nullptr},
        {"", 1, nullptr},
        {nullptr, 1, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format ? row.format : "(null)");
        ASSERT_EQ(ini.Write("F", "k", "before"), 1);
        const std::string before = TempFolder::ReadBytes(file);
        EXPECT_EQ(ini.Write("F", "k", row.format, row.value), row.text ? 1 : 0);
        if (row.text) {
            EXPECT_EQ(ValueText(file, "F", "k"), row.text);
        } else {
            EXPECT_EQ(TempFolder::ReadBytes(file), before);
        }
    }
}

// The platform's refusal to write is reported, and the file stays as it was.
TEST_F(IniFile, WritesThatThePlatformRefusesReturnZero) {
    ASSERT_EQ(ini.Write("S", "k", "old"), 1);
    const std::string before = TempFolder::ReadBytes(file);
    {
        // Another program holds the file open and lets nobody else write it.
        HANDLE holder = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_EQ(ini.Write("S", "k", "new"), 0);
        EXPECT_EQ(ini.Write("S", "other", 1), 0);
        EXPECT_EQ(ini.Write("S", "f", 1.0), 0);
        EXPECT_EQ(ini.Write("S", "k", "%d", 2UL), 0);
        EXPECT_EQ(ini.Create("S"), 0);
        CloseHandle(holder);
    }
    EXPECT_EQ(TempFolder::ReadBytes(file), before);
    EXPECT_EQ(ValueText(file, "S", "k"), "old");

    INIFILE missingFolder;
    const std::string nowhere = folder.File("missing\\x.ini");
    ASSERT_EQ(missingFolder.Open(nowhere.c_str()), 1);
    EXPECT_EQ(missingFolder.Write("S", "k", 1), 0);
    EXPECT_FALSE(TempFolder::Exists(nowhere));
}

TEST_F(IniFile, AReadOnlyFileIsNotWritten) {
    ASSERT_EQ(ini.Write("S", "k", "old"), 1);
    const std::string before = TempFolder::ReadBytes(file);
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this system lets a read-only file be written (Wine running as root does)";
    }
    EXPECT_EQ(ini.Write("S", "k", "new"), 0);
    EXPECT_EQ(ini.Write("S", "other", 1), 0);
    EXPECT_EQ(TempFolder::ReadBytes(file), before);
}

TEST_F(IniFile, NullAndEmptyTextsAreHandledWithoutHarm) {
    ASSERT_EQ(ini.Write("S", "a", "1"), 1);
    ASSERT_EQ(ini.Write("S", "b", "2"), 1);
    ASSERT_EQ(ini.Write("T", "c", "3"), 1);

    EXPECT_EQ(ini.Write("S", "a", static_cast<const char*>(nullptr)), 1);  // removes the key
    EXPECT_EQ(ValueText(file, "S", "a"), "<missing>");
    EXPECT_EQ(ValueText(file, "S", "b"), "2");
    EXPECT_EQ(ini.Write("S", nullptr, "x"), 1);  // removes the section
    EXPECT_EQ(ValueText(file, "S", "b"), "<missing>");
    EXPECT_EQ(ini.Write("T", "c", ""), 1);
    EXPECT_EQ(ValueText(file, "T", "c"), "");

    // Missing or unusable arguments of the class's own are refused.
    char text[8] = "keep";
    EXPECT_EQ(ini.Write("T", "c", static_cast<const char*>(nullptr), 1UL), 0);
    EXPECT_EQ(ini.Write("T", "c", static_cast<const RECT*>(nullptr)), 0);
    EXPECT_EQ(ini.Write("T", "c", static_cast<const LOGFONTA*>(nullptr)), 0);
    EXPECT_EQ(ini.Write("T", "c", static_cast<const unsigned long*>(nullptr)), 0);
    EXPECT_EQ(ini.Read("T", "c", "", static_cast<char*>(nullptr), 8), 0);
    EXPECT_EQ(ini.Read("T", "c", 0, static_cast<int*>(nullptr)), 0);
    EXPECT_EQ(ini.Read("T", "c", 0.0, static_cast<double*>(nullptr)), 0);
    EXPECT_EQ(ini.Read("T", "c", static_cast<RECT*>(nullptr)), 0);
    EXPECT_EQ(ini.Read("T", "c", static_cast<LOGFONTA*>(nullptr)), 0);
    EXPECT_EQ(ini.Read("T", "c", static_cast<unsigned long*>(nullptr)), 0);
    EXPECT_EQ(ini.Read("T", "none", nullptr, text, sizeof(text)), 1);  // a null default reads as ""
    EXPECT_STREQ(text, "");

    // Null and empty section and key names reach the platform, which answers for them.
    int i = 5;
    double d = 1.0;
    RECT rect = {};
    EXPECT_EQ(ini.Read(nullptr, nullptr, 3, &i), 1);
    EXPECT_EQ(ini.Read("", "", 3, &i), 1);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(ini.Read(nullptr, "c", 0.0, &d), 1);
    EXPECT_EQ(ini.Read("", "", &rect), 0);
    EXPECT_EQ(ini.Read("T", "", "z", text, sizeof(text)), 1);
    ini.Write("", "", "v");
    ini.Create(nullptr);
    ini.Create("");
    EXPECT_EQ(ValueText(file, "T", "c"), "");
}

TEST_F(IniFile, LongValuesAreCutNeverOverrun) {
    const std::string longText(1000, 'a');
    ASSERT_EQ(ini.Write("L", "text", longText.c_str()), 1);
    char small[10];
    std::memset(small, 'x', sizeof(small));
    char guard[32];
    std::memset(guard, 'g', sizeof(guard));
    EXPECT_EQ(ini.Read("L", "text", "", small, 6), 1);
    EXPECT_STREQ(small, "aaaaa");
    EXPECT_EQ(small[6], 'x');
    EXPECT_EQ(ini.Read("L", "text", "", small, 0), 1);
    EXPECT_EQ(small[0], 'a');

    // Reads of numbers and structures take the first 255 (fonts: 127) characters.
    double d = 0;
    EXPECT_EQ(ini.Write("L", "number", ("1" + std::string(400, '0')).c_str()), 1);
    EXPECT_EQ(ini.Read("L", "number", 0.0, &d), 1);
    EXPECT_DOUBLE_EQ(d, 1e254);
    LOGFONTA font = SampleFont();
    EXPECT_EQ(ini.Write("L", "font", ("1,2,3,4,5,6,7,8,9,10,11,12,13," + std::string(200, 'F')).c_str()), 1);
    EXPECT_EQ(ini.Read("L", "font", &font), 1);
    EXPECT_EQ(std::string(font.lfFaceName), std::string(31, 'F'));

    // Texts formatted by the class are cut at 255 characters.
    EXPECT_EQ(ini.Write("L", "formatted", "%0400lu", 7UL), 1);
    EXPECT_EQ(ValueText(file, "L", "formatted"), std::string(255, '0'));
    EXPECT_EQ(ini.Write("L", "double", 1e300), 1);
    EXPECT_EQ(ValueText(file, "L", "double").size(), 255u);

    // A face name that fills its field without a terminator is written up to the field's end.
    LOGFONTA unterminated = SampleFont();
    std::memset(unterminated.lfFaceName, 'N', LF_FACESIZE);
    EXPECT_EQ(ini.Write("L", "face", &unterminated), 1);
    EXPECT_EQ(ValueText(file, "L", "face"), "-12,5,-900,900,700,1,0,1,255,3,2,4,34," + std::string(LF_FACESIZE, 'N'));
}

TEST(IniFileLocal, OpensBesideTheProgramOrNotAtAll) {
    const std::string expected = ProgramFolder() + "local.ini";

    INIFILE ini;
    EXPECT_EQ(ini.OpenLocal("local.ini"), 1);
    EXPECT_STREQ(ini.Path().String(0), expected.c_str());
    EXPECT_EQ(ini.OpenLocal(std::string(1100, 'n').c_str()), 0);  // would not fit 1024 characters
    EXPECT_EQ(ini.Path().Length(), 0u);
}

TEST(IniFileCopy, CopiesAndAssignmentsHoldTheirOwnPath) {
    INIFILE a;
    ASSERT_EQ(a.Open("C:\\one.ini"), 1);
    INIFILE b(a);
    INIFILE c;
    c = a;
    a.Close();
    c = c;
    EXPECT_STREQ(b.Path().String(0), "C:\\one.ini");
    EXPECT_STREQ(c.Path().String(0), "C:\\one.ini");
    EXPECT_EQ(a.Path().Length(), 0u);
}

}  // namespace
