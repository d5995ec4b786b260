// The dialog template and the manifest, read back from the built DLL's resources.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "dialog/Resource.h"
#include "tests/common/ProgramFiles.h"

namespace {

// A resource of the DLL loaded as a data file: nothing of its code runs.
class PluginResources : public ::testing::Test {
protected:
    HMODULE dll = nullptr;

    void SetUp() override {
        dll = LoadLibraryExA(PluginPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(dll, nullptr);
    }
    void TearDown() override {
        if (dll) FreeLibrary(dll);
    }

    std::vector<unsigned char> Resource(LPCSTR type, LPCSTR name) {
        HRSRC info = FindResourceA(dll, name, type);
        if (!info) return {};
        HGLOBAL handle = LoadResource(dll, info);
        const auto* data = static_cast<const unsigned char*>(LockResource(handle));
        return std::vector<unsigned char>(data, data + SizeofResource(dll, info));
    }
};

// Reads the words of a plain (not extended) dialog template.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<unsigned char>& data) : data(data) {}

    bool AtEnd() const { return offset > data.size(); }
    WORD Word() {
        WORD value = 0;
        if (offset + 2 <= data.size()) std::memcpy(&value, &data[offset], 2);
        offset += 2;
        return value;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    // A string or an ordinal (0xFFFF then the number, written here as "#number").
    std::string NameOrOrdinal() {
        const WORD first = Word();
        if (first == 0xFFFF) return "#" + std::to_string(Word());
        std::string text;
        for (WORD c = first; c != 0 && !AtEnd(); c = Word()) text += static_cast<char>(c);
        return text;
    }
    void AlignDword() { offset = (offset + 3) & ~size_t(3); }

private:
    const std::vector<unsigned char>& data;
    size_t offset = 0;
};

struct ControlRow {
    WORD id;
    const char* className;
    const char* text;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    short x, y, cx, cy;
};

// The predefined classes may be written as ordinals or names; window class names are
// compared without regard to case (the resource compiler may write them in capitals).
std::string ClassName(const std::string& raw) {
    static const std::map<std::string, std::string> ordinals = {
        {"#128", "button"}, {"#129", "edit"}, {"#130", "static"}, {"#133", "combobox"}};
    auto known = ordinals.find(raw);
    std::string name = known != ordinals.end() ? known->second : raw;
    for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return name;
}

constexpr DWORD kLabel = SS_LEFT | SS_CENTERIMAGE | WS_GROUP;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kNumber = ES_CENTER | ES_NUMBER | WS_BORDER | WS_TABSTOP;
constexpr DWORD kSpin = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;
constexpr DWORD kList = CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT | WS_TABSTOP;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;

const ControlRow kControls[] = {
    {65535, "Button", "Global Settings", BS_GROUPBOX, 6, 8, 184, 46},
    {1000, "Button", "Auto Detect", kCheck, 12, 20, 68, 12},
    {1001, "Static", "", kLabel, 82, 20, 102, 12},
    {65535, "Static", "Decay Rate", kLabel, 10, 36, 68, 12},
    {1002, "Edit", "", kNumber, 82, 36, 38, 14},
    {1003, "msctls_updown32", "Spin1", kSpin, 122, 36, 10, 14},
    {65535, "Button", "HALOSEQ Control Settings", BS_GROUPBOX, 6, 60, 184, 46},
    {1100, "Button", "Enable", kCheck, 12, 73, 68, 12},
    {65535, "Static", "Resume Wait", kLabel, 10, 90, 68, 12},
    {1101, "Edit", "", kNumber, 82, 88, 38, 14},
    {1102, "msctls_updown32", "Spin1", kSpin, 124, 88, 10, 14},
    {65535, "Button", "Device Settings", BS_GROUPBOX, 6, 114, 184, 110},
    {65535, "Static", "Device", kLabel, 12, 127, 67, 12},
    {1200, "ComboBox", "", kList, 82, 128, 102, 119},
    {1201, "Button", "Enable", kCheck, 12, 143, 68, 12},
    {65535, "Static", "Display Number", kLabel, 12, 159, 67, 12},
    {1202, "Edit", "", kNumber, 82, 159, 38, 14},
    {1203, "msctls_updown32", "Spin1", kSpin, 122, 159, 10, 14},
    {65535, "Static", "Processor Number", kLabel, 10, 175, 68, 12},
    {1204, "Edit", "", kNumber, 82, 175, 38, 14},
    {1205, "msctls_updown32", "Spin1", kSpin, 122, 175, 10, 14},
    {65535, "Static", "Attribute", kLabel, 12, 191, 67, 13},
    {1206, "ComboBox", "", kList, 82, 192, 102, 119},
    {65535, "Static", "Channel", kLabel, 10, 207, 68, 14},
    {1207, "ComboBox", "", kList, 82, 208, 102, 119},
    {2000, "Button", "About", kPush, 6, 228, 34, 14},
    {1, "Button", "Apply", kPush, 118, 228, 34, 14},
    {2, "Button", "Cancel", kPush, 156, 228, 34, 14},
};

TEST_F(PluginResources, SettingsDialogTemplateMatchesItsLayout) {
    const std::vector<unsigned char> data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_SETTINGS));
    ASSERT_FALSE(data.empty());
    TemplateReader reader(data);

    // A plain template starts with its style; an extended one with 1, 0xFFFF.
    const DWORD style = reader.Dword();
    ASSERT_NE(style, 0xFFFF0001u) << "extended template";
    EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND |
                                        DS_CENTER | DS_SETFONT));
    EXPECT_EQ(reader.Dword(), 0u) << "extended style";
    const WORD count = reader.Word();
    ASSERT_EQ(count, std::size(kControls));
    const short x = reader.Word(), y = reader.Word(), cx = reader.Word(), cy = reader.Word();
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(cx, 198);
    EXPECT_EQ(cy, 246);
    EXPECT_EQ(reader.NameOrOrdinal(), "") << "menu";
    EXPECT_EQ(reader.NameOrOrdinal(), "") << "class";
    EXPECT_EQ(reader.NameOrOrdinal(), "Glowmeter") << "caption";
    EXPECT_EQ(reader.Word(), 8) << "point size";
    EXPECT_EQ(reader.NameOrOrdinal(), "Verdana");

    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(std::string("control ") + std::to_string(&row - kControls + 1) + " " + row.text);
        reader.AlignDword();
        EXPECT_EQ(reader.Dword(), row.style | WS_CHILD | WS_VISIBLE) << "style";
        EXPECT_EQ(reader.Dword(), 0u) << "extended style";
        const short cx0 = reader.Word(), cy0 = reader.Word(), cw = reader.Word(), ch = reader.Word();
        EXPECT_EQ(cx0, row.x);
        EXPECT_EQ(cy0, row.y);
        EXPECT_EQ(cw, row.cx);
        EXPECT_EQ(ch, row.cy);
        EXPECT_EQ(reader.Word(), row.id);
        EXPECT_EQ(ClassName(reader.NameOrOrdinal()), ClassName(row.className));
        EXPECT_EQ(reader.NameOrOrdinal(), row.text);
        EXPECT_EQ(reader.Word(), 0) << "creation data";
        ASSERT_FALSE(reader.AtEnd());
    }
}

// The attributes of each assemblyIdentity element, in document order.
std::vector<std::map<std::string, std::string>> AssemblyIdentities(const std::string& xml) {
    std::vector<std::map<std::string, std::string>> result;
    for (size_t at = xml.find("<assemblyIdentity"); at != std::string::npos;
         at = xml.find("<assemblyIdentity", at + 1)) {
        const std::string element = xml.substr(at, xml.find("/>", at) - at);
        std::map<std::string, std::string> attributes;
        for (size_t eq = element.find("=\""); eq != std::string::npos; eq = element.find("=\"", eq + 2)) {
            size_t nameStart = element.find_last_of(" \t\r\n", eq) + 1;
            const size_t valueEnd = element.find('"', eq + 2);
            attributes[element.substr(nameStart, eq - nameStart)] = element.substr(eq + 2, valueEnd - eq - 2);
        }
        result.push_back(attributes);
    }
    return result;
}

TEST_F(PluginResources, ManifestNamesThePluginAndCommonControlsSix) {
    const std::vector<unsigned char> data = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(data.empty());
    const std::string xml(data.begin(), data.end());
    // This test program is the 64-bit build, whose manifest names its own architecture.
    const std::string arch = sizeof(void*) == 8 ? "amd64" : "X86";

    const auto identities = AssemblyIdentities(xml);
    ASSERT_EQ(identities.size(), 2u);
    const std::map<std::string, std::string> plugin = {
        {"name", "vis_glowmeter"}, {"version", "1.0.3.0"}, {"processorArchitecture", arch}, {"type", "win32"}};
    const std::map<std::string, std::string> controls = {{"type", "win32"},
                                                         {"name", "Microsoft.Windows.Common-Controls"},
                                                         {"version", "6.0.0.0"},
                                                         {"processorArchitecture", arch},
                                                         {"publicKeyToken", "6595b64144ccf1df"},
                                                         {"language", "*"}};
    EXPECT_EQ(identities[0], plugin);
    EXPECT_EQ(identities[1], controls);
    EXPECT_NE(xml.find("<description>Glowmeter contributors</description>"), std::string::npos);
    EXPECT_LT(xml.find("<dependentAssembly>"), xml.find("Microsoft.Windows.Common-Controls"));
}

}  // namespace
