// The settings file beside the plug-in DLL: each test works on a copy of the DLL in a fresh
// folder, loaded from there, so the file sits beside that copy.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sdk/WinampVis.h"
#include "settings/ConfigFile.h"
#include "settings/PluginCfg.h"
#include "support/ProfileText.h"
#include "tests/common/PluginCopy.h"
#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UnicodeFolder.h"
#include "tests/common/UnreadableFile.h"

namespace {

// Loads a copy of the plug-in DLL, named dllName, from folder, through the "\\?\" prefix, so
// that a folder deeper than MAX_PATH works too.
HMODULE LoadDllCopyIn(const std::string& folder, const char* dllName = "vis_glowmeter.dll") {
    return LoadDllCopy(L"\\\\?\\" + TempFolder::Wide(folder), TempFolder::Wide(dllName));
}

// Splits a file's text into its lines, without line ends and without blank lines.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool HasLine(const std::string& text, const std::string& wanted) {
    for (const std::string& line : Lines(text))
        if (line == wanted) return true;
    return false;
}

struct ConfigFile : ::testing::Test {
    TempFolder folder;
    HMODULE dll = nullptr;
    winampVisModule module = {};
    std::string ini;

    void SetUp() override {
        ASSERT_TRUE(folder.Ok());
        dll = LoadDllCopyIn(folder.Path());
        ASSERT_NE(dll, nullptr);
        module.hDllInstance = dll;
        ini = folder.File("vis_glowmeter.ini");
        g_LiveConfig = PLUGINCFG{};
    }
    void TearDown() override {
        if (dll) FreeLibrary(dll);
    }
};

// Fills every field the load writes, and the ones it must leave, with values no load gives.
void FillWithMarkers(PLUGINCFG& cfg) {
    std::memset(&cfg, 0x5A, sizeof(cfg));
    cfg.AutoDetect = 1;
    for (DEVICECFG& slot : cfg.Devices) std::snprintf(slot.Name, sizeof(slot.Name), "%s", "kept name");
}

// The defaults of a load from an empty or missing file.
void ExpectDefaults(const PLUGINCFG& cfg) {
    EXPECT_EQ(cfg.Debug, 0);
    EXPECT_EQ(cfg.Decay, 4u);
    EXPECT_EQ(cfg.PlayerEnable, 1);
    EXPECT_EQ(cfg.PlayerWait, 10u);
    for (int i = 0; i < kDeviceSlots; ++i) {
        const DEVICECFG& slot = cfg.Devices[i];
        EXPECT_EQ(slot.Enable, 0) << i;
        EXPECT_EQ(slot.Display, 0u) << i;
        EXPECT_EQ(slot.GPU, static_cast<uint32_t>(i)) << i;
        EXPECT_EQ(slot.Attribute, 0) << i;
        EXPECT_EQ(slot.Channel, 0) << i;
    }
}

// The file a save writes into a folder that holds none, for the default values.
std::string DefaultFileText() {
    std::string text = "[GLOBAL]\r\nAutoDetect=0\r\nDecay=4\r\n[HALOSEQ]\r\nEnable=1\r\nWait=10\r\n";
    for (int i = 0; i < kDeviceSlots; ++i) {
        text += "[DEVICE" + std::to_string(i) + "]\r\nEnable=0\r\nDisplay=0\r\nGPU=" + std::to_string(i) +
                "\r\nAttribute=0\r\nChannel=0\r\n";
    }
    return text;
}

TEST_F(ConfigFile, NoFileGivesTheDefaultsAndCreatesNoFile) {
    FillWithMarkers(g_LiveConfig);
    EXPECT_EQ(LoadConfig(&module), 1);
    ExpectDefaults(g_LiveConfig);
    EXPECT_EQ(g_LiveConfig.AutoDetect, 1) << "the load leaves AutoDetect alone";
    for (const DEVICECFG& slot : g_LiveConfig.Devices) EXPECT_STREQ(slot.Name, "kept name");
    EXPECT_FALSE(TempFolder::Exists(ini));
}

TEST_F(ConfigFile, LoadForcesDecayAndWaitIntoRange) {
    struct Row { const char* decay; const char* wait; uint32_t expectedDecay; uint32_t expectedWait; };
    const Row rows[] = {
        {"0", "4", 1, 5},     {"9", "61", 8, 60},   {"-1", "-5", 8, 60},  {"1", "5", 1, 5},
        {"8", "60", 8, 60},   {"3", "abc", 3, 5},   {"x7", "0", 1, 5},    {"4294967295", "30", 8, 30},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(TempFolder::WriteBytes(
            ini, std::string("[GLOBAL]\r\nDecay=") + row.decay + "\r\n[HALOSEQ]\r\nWait=" + row.wait + "\r\n"));
        g_LiveConfig = PLUGINCFG{};
        EXPECT_EQ(LoadConfig(&module), 1);
        EXPECT_EQ(g_LiveConfig.Decay, row.expectedDecay) << "Decay=" << row.decay;
        EXPECT_EQ(g_LiveConfig.PlayerWait, row.expectedWait) << "Wait=" << row.wait;
    }
}

TEST_F(ConfigFile, AutoDetectIsNeverReadAndDebugNeverWritten) {
    ASSERT_TRUE(TempFolder::WriteBytes(ini, "[GLOBAL]\r\nDebug=1\r\nAutoDetect=1\r\nDecay=2\r\n"));
    EXPECT_EQ(LoadConfig(&module), 1);
    EXPECT_EQ(g_LiveConfig.AutoDetect, 0) << "a fresh process starts with AutoDetect off";
    EXPECT_EQ(g_LiveConfig.Debug, 1);
    EXPECT_EQ(g_LiveConfig.Decay, 2u);

    // Saves change neither the key nor its value, whatever the record holds.
    g_LiveConfig.Debug = 0;
    g_LiveConfig.AutoDetect = 1;
    EXPECT_EQ(SaveConfig(&module), 1);
    EXPECT_EQ(SaveConfig(&module), 1);
    const std::string text = TempFolder::ReadBytes(ini);
    EXPECT_TRUE(HasLine(text, "Debug=1")) << text;
    EXPECT_TRUE(HasLine(text, "AutoDetect=1")) << text;
    EXPECT_EQ(LoadConfig(&module), 1);
    EXPECT_EQ(g_LiveConfig.Debug, 1);

    // Without the key, a save writes none.
    ASSERT_TRUE(DeleteFileA(ini.c_str()));
    g_LiveConfig.Debug = 1;
    EXPECT_EQ(SaveConfig(&module), 1);
    EXPECT_EQ(TempFolder::ReadBytes(ini).find("Debug"), std::string::npos);
}

TEST_F(ConfigFile, SaveIntoAnEmptyFolderWritesTheKeysInOrder) {
    ASSERT_EQ(LoadConfig(&module), 1);
    EXPECT_EQ(SaveConfig(&module), 1);
    EXPECT_EQ(TempFolder::ReadBytes(ini), DefaultFileText());
}

TEST_F(ConfigFile, SaveWritesUnsignedFieldsUnsignedAndSignedFieldsSigned) {
    ASSERT_TRUE(TempFolder::WriteBytes(ini, "[DEVICE2]\r\nDisplay=-1\r\nAttribute=-1\r\n"));
    ASSERT_EQ(LoadConfig(&module), 1);
    g_LiveConfig.Decay = 0xFFFFFFFFu;  // a save writes the record as it stands
    g_LiveConfig.PlayerWait = 0;
    g_LiveConfig.PlayerEnable = -1;
    g_LiveConfig.AutoDetect = -1;
    g_LiveConfig.Devices[5].GPU = 0xFFFFFFFEu;
    g_LiveConfig.Devices[5].Enable = -3;
    g_LiveConfig.Devices[5].Channel = -4;
    EXPECT_EQ(SaveConfig(&module), 1);

    struct Row { const char* section; const char* line; };
    const Row rows[] = {
        {"GLOBAL", "Decay=4294967295"},  {"GLOBAL", "AutoDetect=-1"},  {"HALOSEQ", "Wait=0"},
        {"HALOSEQ", "Enable=-1"},         {"DEVICE2", "Display=4294967295"}, {"DEVICE2", "Attribute=-1"},
        {"DEVICE5", "GPU=4294967294"},    {"DEVICE5", "Enable=-3"},      {"DEVICE5", "Channel=-4"},
    };
    const std::string text = TempFolder::ReadBytes(ini);
    for (const Row& row : rows) {
        const std::string key(row.line, static_cast<size_t>(std::strchr(row.line, '=') - row.line));
        char value[64] = "";
        GetPrivateProfileStringA(row.section, key.c_str(), "", value, sizeof(value), ini.c_str());
        EXPECT_EQ(key + "=" + value, row.line) << row.section;
    }
}

TEST_F(ConfigFile, SaveLeavesOtherSectionsAndKeysAlone) {
    const std::string before =
        "; hand-written\r\n[GLOBAL]\r\nTheme=dark\r\nDecay=3\r\n[DEVICE8]\r\nEnable=1\r\nGPU=9\r\n"
        "[DEVICE12]\r\nChannel=3\r\n[Other]\r\nkey=value\r\n";
    ASSERT_TRUE(TempFolder::WriteBytes(ini, before));
    ASSERT_EQ(LoadConfig(&module), 1);
    EXPECT_EQ(SaveConfig(&module), 1);
    const std::string text = TempFolder::ReadBytes(ini);
    for (const char* line : {"[DEVICE8]", "Enable=1", "GPU=9", "[DEVICE12]", "Channel=3", "[Other]", "key=value",
                             "Theme=dark", "Decay=3", "[DEVICE7]"}) {
        EXPECT_TRUE(HasLine(text, line)) << line << "\n" << text;
    }
    char value[16] = "";
    GetPrivateProfileStringA("DEVICE8", "GPU", "", value, sizeof(value), ini.c_str());
    EXPECT_STREQ(value, "9");
}

// A save that the platform refuses reports the failure, and the old file stays.
TEST_F(ConfigFile, SaveIntoAFileHeldByAnotherProgramFailsAndKeepsIt) {
    const std::string before = "[GLOBAL]\r\nDecay=3\r\n";
    ASSERT_TRUE(TempFolder::WriteBytes(ini, before));
    ASSERT_EQ(LoadConfig(&module), 1);
    g_LiveConfig.Decay = 7;

    HANDLE holder = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveConfig(&module), 0);
    CloseHandle(holder);
    EXPECT_EQ(TempFolder::ReadBytes(ini), before);
}

TEST_F(ConfigFile, SaveIntoAReadOnlyFileFailsAndKeepsTheFile) {
    const std::string before = "[GLOBAL]\r\nDecay=3\r\n";
    ASSERT_TRUE(TempFolder::WriteBytes(ini, before));
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this system lets a read-only file be written (Wine running as root does)";
    }
    EXPECT_EQ(SaveConfig(&module), 0);
    EXPECT_EQ(TempFolder::ReadBytes(ini), before);
}

TEST_F(ConfigFile, HandEditedFileGivesTheDefinedValues) {
    const std::string junk(64 * 1024, 'x');
    const std::string text = junk + "\n"
        "[GLOBAL]\r\nDecay=abc\nDecay=7\r\nDebug=  3  \r\n"          // the first of two keys counts
        "[HALOSEQ]\nWait=99999999999\nEnable=-2\n"                    // huge, then negative
        "[DEVICE0]\r\nEnable=1junk\r\nDisplay=0x10\r\nGPU=+3\nAttribute=-1\nChannel=\n"
        "[DEVICE1]\n" + junk + "\nChannel=2\nname=" + junk + "\nGPU=010\nDisplay=4294967295\n"
        "[DEVICE3\nEnable=1\n"                                       // no closing bracket: no section
        "[DEVICE4]\nEnable = 1 \n";
    ASSERT_TRUE(TempFolder::WriteBytes(ini, text));
    EXPECT_EQ(LoadConfig(&module), 1);
    const PLUGINCFG& cfg = g_LiveConfig;
    EXPECT_EQ(cfg.Decay, 1u);
    EXPECT_EQ(cfg.Debug, 3);
    EXPECT_EQ(cfg.PlayerWait, 60u);
    EXPECT_EQ(cfg.PlayerEnable, -2);
    EXPECT_EQ(cfg.Devices[0].Enable, 1);
    EXPECT_EQ(cfg.Devices[0].Display, 16u);
    EXPECT_EQ(cfg.Devices[0].GPU, 3u);
    EXPECT_EQ(cfg.Devices[0].Attribute, -1);
    EXPECT_EQ(cfg.Devices[0].Channel, 0);
    EXPECT_EQ(cfg.Devices[1].Channel, 2);
    EXPECT_EQ(cfg.Devices[1].GPU, 10u);
    EXPECT_EQ(cfg.Devices[1].Display, 4294967295u);
    EXPECT_EQ(cfg.Devices[2].GPU, 2u);
    EXPECT_EQ(cfg.Devices[3].Enable, 0);
    EXPECT_EQ(cfg.Devices[3].GPU, 3u);
    EXPECT_EQ(cfg.Devices[4].Enable, 1);
    EXPECT_EQ(TempFolder::ReadBytes(ini), text) << "a load never writes";
}

// An existing file that can't be read is a failure, not a missing file: nothing changes.
TEST_F(ConfigFile, AFileThatCannotBeReadFailsTheLoadAndChangesNothing) {
    for (const UnreadableCase& row : kUnreadableCases) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(TempFolder::WriteBytes(ini, "[GLOBAL]\r\nDecay=3\r\n"));
        UnreadableFile unreadable(ini, row.kind);
        ASSERT_TRUE(unreadable.Made());
        FillWithMarkers(g_LiveConfig);
        const PLUGINCFG before = g_LiveConfig;
        EXPECT_EQ(LoadConfig(&module), 0);
        EXPECT_EQ(std::memcmp(&g_LiveConfig, &before, sizeof before), 0);
        EXPECT_EQ(SaveConfig(&module), 0);
        unreadable.LetGo();
        EXPECT_FALSE(TempFolder::Exists(ini + ".tmp")) << "a copy was left behind";
        if (unreadable.IsFolder()) {
            EXPECT_TRUE(unreadable.FolderStands());
        } else {
            EXPECT_EQ(TempFolder::ReadBytes(ini), "[GLOBAL]\r\nDecay=3\r\n");
        }
    }
}

// A folder that lets nobody make a file beside the settings file (here a folder already has
// the copy's name): the save goes into the file itself, and still checks what it wrote.
TEST_F(ConfigFile, WhereNoCopyCanBeMadeTheFileIsWrittenInPlace) {
    ASSERT_TRUE(TempFolder::WriteBytes(ini, "; mine\r\n[GLOBAL]\r\nDecay=3\r\n"));
    ASSERT_TRUE(CreateDirectoryA((ini + ".tmp").c_str(), nullptr));
    ASSERT_EQ(LoadConfig(&module), 1);
    g_LiveConfig.Decay = 6;
    EXPECT_EQ(SaveConfig(&module), 1);
    const std::string text = TempFolder::ReadBytes(ini);
    EXPECT_TRUE(HasLine(text, "; mine")) << text;
    EXPECT_TRUE(HasLine(text, "Decay=6")) << text;
    EXPECT_TRUE(HasLine(text, "[DEVICE7]")) << text;
    EXPECT_TRUE(RemoveDirectoryA((ini + ".tmp").c_str()));
}

// Winamp may sit in a folder whose name the ANSI code page can't spell.
TEST(ConfigFileFolder, AFolderNamedOutsideTheAnsiCodePageHoldsTheSettings) {
    TempFolder base;
    ASSERT_TRUE(base.Ok());
    const std::wstring folder = TempFolder::Wide(base.Path()) + L"\\" + kUnicodeFolderName;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    HMODULE dll = LoadDllCopy(folder);
    ASSERT_NE(dll, nullptr);
    winampVisModule module = {};
    module.hDllInstance = dll;

    g_LiveConfig = PLUGINCFG{};
    g_LiveConfig.Decay = 5;
    g_LiveConfig.Devices[2].Channel = kChannelBoth;
    EXPECT_EQ(SaveConfig(&module), 1);
    EXPECT_NE(GetFileAttributesW((folder + L"\\vis_glowmeter.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    g_LiveConfig = PLUGINCFG{};
    EXPECT_EQ(LoadConfig(&module), 1);
    EXPECT_EQ(g_LiveConfig.Decay, 5u);
    EXPECT_EQ(g_LiveConfig.Devices[2].Channel, kChannelBoth);
    FreeLibrary(dll);
}

// The small disk that the test run mounts (see small-disk): a save that runs out of space
// part way fails, and the file stays byte for byte.
TEST(ConfigFileDisk, ASaveThatRunsOutOfSpaceKeepsTheFile) {
    const std::string disk = ProgramFolder() + "small-disk";
    if (!TempFolder::Exists(disk + "\\.small-disk"))
        GTEST_SKIP() << "no small disk mounted at " << disk << " (the test run mounts one when it runs as root)";
    HMODULE dll = LoadDllCopyIn(disk);
    ASSERT_NE(dll, nullptr);
    winampVisModule module = {};
    module.hDllInstance = dll;
    const std::string ini = disk + "\\vis_glowmeter.ini";
    // Nearly a page of comments, so the saved file needs one page more than the old one.
    const std::string before = "; " + std::string(3900, 'c') + "\r\n[GLOBAL]\r\nDecay=3\r\n";
    ASSERT_TRUE(TempFolder::WriteBytes(ini, before));

    // Fills the disk, then frees one page: room for the copy of the file, not for more.
    const std::string filler = disk + "\\filler";
    HANDLE fill = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(fill, INVALID_HANDLE_VALUE);
    const std::string page(4096, 'f');
    DWORD put = 0;
    while (WriteFile(fill, page.data(), 4096, &put, nullptr) && put == 4096) {
    }
    for (int freeRoom : {1, 0}) {
        SCOPED_TRACE(freeRoom ? "room for the copy" : "no room at all");
        if (freeRoom) {
            LARGE_INTEGER size;
            GetFileSizeEx(fill, &size);
            size.QuadPart = (size.QuadPart / 4096 - 1) * 4096;
            SetFilePointerEx(fill, size, nullptr, FILE_BEGIN);
            SetEndOfFile(fill);
        }
        g_LiveConfig = PLUGINCFG{};
        ASSERT_EQ(LoadConfig(&module), 1);
        g_LiveConfig.Decay = 7;
        EXPECT_EQ(SaveConfig(&module), 0);
        EXPECT_EQ(TempFolder::ReadBytes(ini), before);
        EXPECT_FALSE(TempFolder::Exists(ini + ".tmp")) << "a copy was left behind";
        if (freeRoom) {
            LARGE_INTEGER end = {};
            SetFilePointerEx(fill, end, nullptr, FILE_END);
            while (WriteFile(fill, page.data(), 4096, &put, nullptr) && put == 4096) {
            }
        }
    }
    CloseHandle(fill);
    DeleteFileA(filler.c_str());
    DeleteFileA(ini.c_str());
    FreeLibrary(dll);
    DeleteFileA((disk + "\\vis_glowmeter.dll").c_str());
}

// Whether a file's bytes, as they are on the disk, hold a key; its value into `value` ("" when
// they do not).
bool FileValue(const std::string& file, const char* section, const char* key, std::string& value) {
    std::string bytes = TempFolder::ReadBytes(file);
    size_t length = bytes.size();
    const char* text = ProfileTextOf(&bytes[0], length);
    char found[64] = "";
    const bool present = FindProfileValue(text, length, section, key, found, sizeof found);
    value = found;
    return present;
}

// A program killed while it saves (Winamp crashing, or ended by the user) leaves the file of
// one whole save, the one before or the one it was making, never a file cut short.
TEST(ConfigFileSaves, AKilledSaveLeavesOneWholeSave) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string child = folder.File("settings_save_child.exe");
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "settings_save_child.exe").c_str(), child.c_str(), FALSE));
    const std::string ini = folder.File("vis_glowmeter.ini");
    // Generation 0: every slot's Display and GPU 0.
    std::string first = "; the user's notes\r\n[GLOBAL]\r\nAutoDetect=0\r\nDecay=4\r\n[HALOSEQ]\r\nEnable=1\r\nWait=10\r\n";
    for (int i = 0; i < kDeviceSlots; ++i)
        first += "[DEVICE" + std::to_string(i) + "]\r\nEnable=0\r\nDisplay=0\r\nGPU=0\r\nAttribute=0\r\nChannel=0\r\n";
    ASSERT_TRUE(TempFolder::WriteBytes(ini, first));

    // The moments of the kills differ from run to run; every failure names the seed, so that a
    // failing run's moments can be tried again by fixing the seed here.
    const unsigned seed = GetTickCount();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::srand(seed);
    unsigned long lastGeneration = 0;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::string command = "\"" + child + "\" " + std::to_string(lastGeneration + 1);
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(), &si,
                                   &pi));
        // Once the program is saving (the file has moved on a generation), at a moment of
        // chance within the next saves.
        const DWORD start = GetTickCount();
        std::string seen;
        while (GetTickCount() - start < 10000 &&
               (!FileValue(ini, "DEVICE0", "Display", seen) ||
                std::strtoul(seen.c_str(), nullptr, 10) == lastGeneration))
            Sleep(1);
        Sleep(std::rand() % 40);
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);

        const std::string text = TempFolder::ReadBytes(ini);
        ASSERT_TRUE(HasLine(text, "; the user's notes")) << "[" << text << "]";
        std::string value, generation;
        for (const char* key : {"AutoDetect", "Decay"}) EXPECT_TRUE(FileValue(ini, "GLOBAL", key, value)) << key;
        for (const char* key : {"Enable", "Wait"}) EXPECT_TRUE(FileValue(ini, "HALOSEQ", key, value)) << key;
        ASSERT_TRUE(FileValue(ini, "DEVICE0", "Display", generation)) << text;
        for (int i = 0; i < kDeviceSlots; ++i) {
            const std::string section = "DEVICE" + std::to_string(i);
            for (const char* key : {"Enable", "Attribute", "Channel"})
                EXPECT_TRUE(FileValue(ini, section.c_str(), key, value)) << section << " " << key;
            for (const char* key : {"Display", "GPU"}) {
                ASSERT_TRUE(FileValue(ini, section.c_str(), key, value)) << section << " " << key;
                EXPECT_EQ(value, generation) << section << " " << key << ": two saves mixed\n" << text;
            }
        }
        const unsigned long reached = std::strtoul(generation.c_str(), nullptr, 10);
        EXPECT_GT(reached, lastGeneration) << "the program never finished a save";
        lastGeneration = reached;
    }
}

// Makes nested folders under base until the folder path (with its closing backslash) is
// exactly length characters long; empty if the platform refuses.
std::string LongFolder(const std::string& base, size_t length) {
    std::string folder = base;
    while (folder.size() + 1 < length) {
        const size_t room = length - folder.size() - 2;  // backslash before, backslash after
        folder += "\\" + std::string(room > 200 ? 200 : room, 'd');
        if (!CreateDirectoryW((L"\\\\?\\" + TempFolder::Wide(folder)).c_str(), nullptr)) return std::string();
    }
    return folder.size() + 1 == length ? folder : std::string();
}

TEST(ConfigFilePath, APathThatCannotBeHadFailsAndTouchesNothing) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    // A folder of 1010 characters: "v.dll" fits the 1023 characters of the file name, while
    // the settings file's longer name would not fit the 1024-character buffer; the plug-in's
    // own name does not even fit the file name.
    const std::string deep = LongFolder(folder.Path(), 1010);
    ASSERT_FALSE(deep.empty()) << "the platform refuses long folder paths";
    for (const char* dllName : {"v.dll", "vis_glowmeter.dll"}) {
        HMODULE dll = LoadDllCopyIn(deep, dllName);
        ASSERT_NE(dll, nullptr) << dllName;
        winampVisModule module = {};
        module.hDllInstance = dll;
        FillWithMarkers(g_LiveConfig);
        const PLUGINCFG before = g_LiveConfig;
        EXPECT_EQ(LoadConfig(&module), 0) << dllName;
        EXPECT_EQ(SaveConfig(&module), 0) << dllName;
        EXPECT_EQ(std::memcmp(&g_LiveConfig, &before, sizeof(before)), 0) << dllName;
        FreeLibrary(dll);
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((L"\\\\?\\" + TempFolder::Wide(deep + "\\*.ini")).c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "no settings file is made";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);

    // A handle that names no module, and no module record at all.
    winampVisModule bogus = {};
    bogus.hDllInstance = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(0x12340000));
    EXPECT_EQ(LoadConfig(&bogus), 0);
    EXPECT_EQ(SaveConfig(&bogus), 0);
    EXPECT_EQ(LoadConfig(nullptr), 0);
    EXPECT_EQ(SaveConfig(nullptr), 0);
}

}  // namespace
