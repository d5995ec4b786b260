// The installer as an administrator runs it: silently, as a child process, against a
// "Winamp" folder of the test's own and the registry keys that tell where Winamp is. It is
// the amd64 build of installer/Glowmeter.nsi, the script of the x86 installer that ships.
// The program runs in a Wine prefix of its own (tests/installer/run-in-own-prefix), so the
// Winamp keys, the uninstall entry and the Winamp folder under Program Files are never seen
// by another test; each test still starts from, and leaves, a machine without them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/common/ChildProcess.h"
#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"
#include "tests/common/VersionData.h"

namespace {

const char kWinampUserKey[] = "Software\\Winamp";
const char kWinampUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glowmeter";
const char kPlugin[] = "vis_glowmeter.dll";
const char kSettings[] = "vis_glowmeter.ini";
const char kUninstaller[] = "Uninstall Glowmeter.exe";

// The installer's exit codes. 2 is NSIS's own for an install it aborted.
const unsigned long kDone = 0, kAborted = 2, kWinampRunning = 3, kPluginInUse = 5;

std::string SetupPath() { return ProgramFolder() + GLOWMETER_TEST_SETUP; }
std::string SampleSettings() { return TempFolder::ReadBytes(GLOWMETER_SOURCE_DIR "/dist/vis_glowmeter.ini"); }

// Winamp's default folder, the installer's last guess.
std::string DefaultWinampFolder() {
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("ProgramFiles(x86)", folder, MAX_PATH);
    return std::string(folder) + "\\Winamp";
}

// A folder as a Winamp installation has it: winamp.exe in it (the installer looks for no
// more).
bool MakeWinampFolder(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    return TempFolder::WriteBytes(folder + "\\winamp.exe", "MZ");
}

// --- registry --------------------------------------------------------------------------

// `view` picks the 32-bit or the 64-bit registry (KEY_WOW64_32KEY / KEY_WOW64_64KEY);
// `name` nullptr is the key's default value.
bool SetString(HKEY root, const char* key, REGSAM view, const char* name, const std::string& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG set = RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
    return set == ERROR_SUCCESS;
}

// Where Winamp records its folder for the user, and its uninstaller (Winamp is a 32-bit
// program: its uninstall entry is in the 32-bit registry).
bool SetWinampUserFolder(const std::string& folder) {
    return SetString(HKEY_CURRENT_USER, kWinampUserKey, 0, nullptr, folder);
}
bool SetWinampUninstallString(const std::string& commandLine) {
    return SetString(HKEY_LOCAL_MACHINE, kWinampUninstallKey, KEY_WOW64_32KEY, "UninstallString", commandLine);
}

bool KeyExists(HKEY root, const char* key, REGSAM view) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ | view, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

// A value of Glowmeter's uninstall entry as "sz:<text>" or "dword:<number>", "" when missing.
std::string UninstallValue(const char* name) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &h) != ERROR_SUCCESS) return "";
    char data[1024] = {};
    DWORD type = 0, size = sizeof data - 1;
    const LONG got = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    if (got != ERROR_SUCCESS) return "";
    if (type == REG_SZ) return std::string("sz:") + data;
    if (type == REG_DWORD) return "dword:" + std::to_string(*reinterpret_cast<const DWORD*>(data));
    return "type " + std::to_string(type);
}

// --- processes -------------------------------------------------------------------------

// Waits up to `timeoutMs` for a file to be gone.
bool WaitUntilGone(const std::string& file, unsigned long timeoutMs) {
    for (unsigned long waited = 0; TempFolder::Exists(file); waited += 50) {
        if (waited >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// A window of the class of Winamp's main window, which a running Winamp has.
class WinampWindow {
public:
    WinampWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
        hwnd_ = CreateWindowExA(0, kClass, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 275, 116, nullptr, nullptr,
                                wc.hInstance, nullptr);
    }
    ~WinampWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
        UnregisterClassA(kClass, GetModuleHandleA(nullptr));
    }
    WinampWindow(const WinampWindow&) = delete;
    WinampWindow& operator=(const WinampWindow&) = delete;
    bool Ok() const { return hwnd_ != nullptr; }

private:
    static constexpr const char* kClass = "Winamp v1.x";
    HWND hwnd_ = nullptr;
};

// --- fixture ---------------------------------------------------------------------------

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        char prefix[MAX_PATH] = "";
        ASSERT_GT(GetEnvironmentVariableA("GLOWMETER_OWN_PREFIX", prefix, MAX_PATH), 0u)
            << "these tests delete Winamp's registry keys and folder: run them in a Wine prefix of their own, "
               "through tests/installer/run-in-own-prefix (as ctest does)";
        ASSERT_TRUE(TempFolder::Exists(SetupPath())) << SetupPath();
        ForgetWinamp();
        ASSERT_TRUE(temp_.Ok());
        winamp_ = temp_.File("Winamp");
        ASSERT_TRUE(MakeWinampFolder(winamp_));
    }
    void TearDown() override { ForgetWinamp(); }

    // No Winamp known to the machine and no Glowmeter registered.
    static void ForgetWinamp() {
        RegDeleteKeyExA(HKEY_CURRENT_USER, kWinampUserKey, KEY_WOW64_64KEY, 0);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kWinampUninstallKey, KEY_WOW64_32KEY, 0);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY, 0);
        TempFolder::RemoveTree(DefaultWinampFolder());
    }

    // The test's Winamp, recorded for the user as Winamp records itself.
    void RegisterWinamp() const { ASSERT_TRUE(SetWinampUserFolder(winamp_)); }

    static ChildResult Install(const std::string& options = "") {
        return RunChild("\"" + SetupPath() + "\" /S" + options, "", 60000);
    }

    std::string Plugins() const { return winamp_ + "\\Plugins"; }
    std::string InPlugins(const char* name) const { return Plugins() + "\\" + name; }

    // Uninstalls as Windows' list of programs does, with the command the uninstall entry
    // records. An NSIS uninstaller copies itself to the temporary folder, starts the copy
    // (which may then delete the original) and ends at once with 0: the uninstall is done
    // when the uninstaller's file is gone.
    ChildResult QuietUninstall() const {
        const std::string quiet = UninstallValue("QuietUninstallString");
        EXPECT_EQ(quiet.rfind("sz:", 0), 0u) << quiet;
        const ChildResult run = RunChild(quiet.substr(3), "", 60000);
        EXPECT_TRUE(WaitUntilGone(InPlugins(kUninstaller), 30000));
        return run;
    }

    // Runs the uninstaller where it is and waits for its end: `_?=<its folder>` is NSIS's
    // switch for that. The exit code is the uninstall's; the uninstaller's own file stays.
    // Silent, unless a `user` goes through its windows.
    ChildResult UninstallInPlace(const std::function<void(unsigned long)>& user = nullptr) const {
        return RunChild("\"" + InPlugins(kUninstaller) + "\"" + (user ? "" : " /S") + " _?=" + Plugins(), "", 60000,
                        user);
    }

    // An install that worked: the plug-in, byte for byte the built one, the settings and the
    // uninstaller in <folder>\Plugins, and nothing else.
    static void ExpectInstalledIn(const std::string& folder) {
        const std::string plugins = folder + "\\Plugins";
        EXPECT_EQ(TempFolder::Names(plugins), (std::set<std::string>{kPlugin, kSettings, kUninstaller})) << plugins;
        EXPECT_TRUE(TempFolder::ReadBytes(plugins + "\\" + kPlugin) == TempFolder::ReadBytes(PluginPath()))
            << "the installed plug-in differs from " << PluginPath();
        EXPECT_EQ(UninstallValue("InstallLocation"), "sz:" + plugins);
    }

    // Nothing installed anywhere: the Winamp folder as it was, no uninstall entry.
    void ExpectNothingInstalled() const {
        EXPECT_EQ(TempFolder::Names(winamp_), std::set<std::string>{"winamp.exe"});
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY));
        EXPECT_FALSE(TempFolder::Exists(DefaultWinampFolder() + "\\Plugins"));
    }

    TempFolder temp_;
    std::string winamp_;  // the test's Winamp folder
};

TEST_F(Installer, SilentInstallPutsThePluginIntoWinampsPluginsFolderAndRegistersTheUninstaller) {
    RegisterWinamp();
    const ChildResult run = Install();
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, kDone);
    ExpectInstalledIn(winamp_);
    EXPECT_EQ(TempFolder::ReadBytes(InPlugins(kSettings)), SampleSettings());

    const std::string uninstaller = "\"" + InPlugins(kUninstaller) + "\"";
    const DWORD pluginKb = static_cast<DWORD>(TempFolder::ReadBytes(PluginPath()).size() / 1024);
    struct Row { const char* name; std::string value; };
    const Row rows[] = {
        {"DisplayName", "sz:Glowmeter (Winamp visualization plug-in)"},
        {"DisplayVersion", "sz:" GLOWMETER_VERSION_TEXT},
        {"Publisher", "sz:Glowmeter contributors"},
        {"DisplayIcon", "sz:" + InPlugins(kUninstaller)},
        {"UninstallString", "sz:" + uninstaller},
        {"QuietUninstallString", "sz:" + uninstaller + " /S"},
        {"NoModify", "dword:1"},
        {"NoRepair", "dword:1"},
    };
    for (const Row& row : rows) EXPECT_EQ(UninstallValue(row.name), row.value) << row.name;
    // In kilobytes: the plug-in, the settings and the uninstaller.
    const std::string size = UninstallValue("EstimatedSize");
    ASSERT_EQ(size.rfind("dword:", 0), 0u) << size;
    const unsigned long kb = std::stoul(size.substr(6));
    EXPECT_GE(kb, pluginKb);
    EXPECT_LE(kb, pluginKb + 400);
}

TEST_F(Installer, InstallingAgainKeepsTheUsersSettingsAndRenewsThePlugin) {
    RegisterWinamp();
    ASSERT_EQ(Install().exitCode, kDone);
    const std::string edited = "[GLOBAL]\r\nDecay=2\r\n[DEVICE0]\r\nEnable=1\r\nChannel=3\r\n";
    ASSERT_TRUE(TempFolder::WriteBytes(InPlugins(kSettings), edited));
    ASSERT_TRUE(TempFolder::WriteBytes(InPlugins(kPlugin), "an older plug-in"));

    EXPECT_EQ(Install().exitCode, kDone);
    ExpectInstalledIn(winamp_);
    EXPECT_EQ(TempFolder::ReadBytes(InPlugins(kSettings)), edited);
}

// Where the installer looks for Winamp, first to last: the folder recorded for the user,
// the folder of Winamp's uninstaller, Winamp's default folder; /D= overrides them all. A
// place whose folder holds no winamp.exe is passed over.
TEST_F(Installer, FindsWinampWhereItIsRecorded) {
    const std::string stale = temp_.File("Removed Winamp");  // recorded, but gone
    const std::string other = temp_.File("Other Winamp");
    ASSERT_TRUE(MakeWinampFolder(other));
    const std::string byDefault = DefaultWinampFolder();

    struct Row {
        const char* what;
        std::string userFolder, uninstallString, options;
        bool defaultWinamp;
        std::string expected;
    };
    const Row rows[] = {
        {"user's folder with a trailing backslash", winamp_ + "\\", "", "", true, winamp_},
        {"user's folder before the uninstaller's", winamp_, "\"" + other + "\\UninstWA.exe\"", "", false, winamp_},
        {"stale user's folder, quoted uninstaller", stale, "\"" + other + "\\UninstWA.exe\"", "", false, other},
        {"uninstaller without quotes", "", other + "\\UninstWA.exe", "", true, other},
        {"stale uninstaller folder, default folder", "", "\"" + stale + "\\UninstWA.exe\"", "", true, byDefault},
        {"nothing recorded, default folder", "", "", "", true, byDefault},
        {"/D= before the user's folder", winamp_, "", " /D=" + other, false, other},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ForgetWinamp();
        TempFolder::RemoveTree(winamp_ + "\\Plugins");
        TempFolder::RemoveTree(other + "\\Plugins");
        if (!row.userFolder.empty()) {
            ASSERT_TRUE(SetWinampUserFolder(row.userFolder));
        }
        if (!row.uninstallString.empty()) {
            ASSERT_TRUE(SetWinampUninstallString(row.uninstallString));
        }
        if (row.defaultWinamp) {
            ASSERT_TRUE(MakeWinampFolder(byDefault));
        }

        const ChildResult run = Install(row.options);
        EXPECT_EQ(run.exitCode, kDone);
        ExpectInstalledIn(row.expected);
    }
}

// A silent install that finds no Winamp, or finds it running, or cannot replace the
// plug-in, fails with its exit code and leaves the machine as it was.
TEST_F(Installer, FailsWithoutWinampOrWhileItRunsAndInstallsNothing) {
    const std::string notWinamp = temp_.File("Not Winamp");
    ASSERT_TRUE(CreateDirectoryA(notWinamp.c_str(), nullptr));

    struct Row { const char* what; std::string userFolder, options; unsigned long code; };
    const Row rows[] = {
        {"no Winamp recorded, no /D", "", "", kAborted},
        {"recorded folder without winamp.exe", notWinamp, "", kAborted},
        {"/D= folder without winamp.exe", winamp_, " /D=" + notWinamp, kAborted},
        {"Winamp running", winamp_, "", kWinampRunning},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ForgetWinamp();
        if (!row.userFolder.empty()) {
            ASSERT_TRUE(SetWinampUserFolder(row.userFolder));
        }
        std::unique_ptr<WinampWindow> running;
        if (row.code == kWinampRunning) {
            running = std::make_unique<WinampWindow>();
            ASSERT_TRUE(running->Ok());
        }
        const ChildResult run = Install(row.options);
        running.reset();
        ASSERT_TRUE(run.started);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, row.code);
        ExpectNothingInstalled();
        EXPECT_TRUE(TempFolder::Names(notWinamp).empty());
    }
}

TEST_F(Installer, FailsWhenThePluginCannotBeReplacedAndRegistersNothing) {
    RegisterWinamp();
    ASSERT_EQ(Install().exitCode, kDone);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY, 0);
    ASSERT_TRUE(TempFolder::WriteBytes(InPlugins(kPlugin), "an older plug-in"));
    // Held open by another host, with no sharing for writers.
    HANDLE held = CreateFileA(InPlugins(kPlugin).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ChildResult run = Install();
    CloseHandle(held);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, kAborted);
    EXPECT_EQ(TempFolder::ReadBytes(InPlugins(kPlugin)), "an older plug-in");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));
}

TEST_F(Installer, SilentUninstallRemovesThePluginAndKeepsTheSettings) {
    RegisterWinamp();
    ASSERT_EQ(Install().exitCode, kDone);
    const std::string edited = "[GLOBAL]\r\nDecay=6\r\n";
    ASSERT_TRUE(TempFolder::WriteBytes(InPlugins(kSettings), edited));
    ASSERT_TRUE(TempFolder::WriteBytes(InPlugins("vis_other.dll"), "another plug-in"));

    const ChildResult run = QuietUninstall();
    EXPECT_EQ(run.exitCode, kDone);
    EXPECT_EQ(TempFolder::Names(Plugins()), (std::set<std::string>{kSettings, "vis_other.dll"}));
    EXPECT_EQ(TempFolder::ReadBytes(InPlugins(kSettings)), edited);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));
    EXPECT_TRUE(TempFolder::Exists(winamp_ + "\\winamp.exe"));
}

// An uninstall that cannot remove the plug-in, because Winamp runs or another program holds
// the file, changes nothing and keeps the entry, so it can be run again.
TEST_F(Installer, UninstallRefusesWhileThePluginIsInUse) {
    RegisterWinamp();
    ASSERT_EQ(Install().exitCode, kDone);
    {
        WinampWindow running;
        ASSERT_TRUE(running.Ok());
        EXPECT_EQ(UninstallInPlace().exitCode, kWinampRunning);
    }
    {
        HANDLE held = CreateFileA(InPlugins(kPlugin).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(UninstallInPlace().exitCode, kPluginInUse);
        CloseHandle(held);
    }
    ExpectInstalledIn(winamp_);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));

    EXPECT_EQ(UninstallInPlace().exitCode, kDone);
    EXPECT_FALSE(TempFolder::Exists(InPlugins(kPlugin)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));
}

// --- the installer's windows --------------------------------------------------------------

// What an NSIS installer or uninstaller shows at one moment: its main window, the page in
// it, and a message box over them.
struct Screen {
    HWND main = nullptr, page = nullptr, box = nullptr;

    HWND Next() const { return GetDlgItem(main, IDOK); }  // Next, Install, Uninstall, Close
    HWND PageItem(int id) const { return page ? GetDlgItem(page, id) : nullptr; }
    bool NextReady() const { return !box && IsWindowEnabled(Next()); }
};

const int kFolderEdit = 1019;  // the folder field of NSIS's directory page

// Asked of the control itself: GetWindowText gives no edit control's text across processes.
std::string TextOf(HWND window) {
    char text[1024] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    return text;
}

// A message box's text: its static control with text (the icon's has none).
std::string BoxText(HWND box) {
    for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
         child = FindWindowExA(box, child, "Static", nullptr)) {
        if (!TextOf(child).empty()) return TextOf(child);
    }
    return "";
}

// Posted, as a click that ends a page or a box must be: a sent one would wait for what follows.
void Press(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
void Answer(HWND box, int button) { PostMessageA(box, WM_COMMAND, button, 0); }

Screen ScreenOf(unsigned long pid) {
    Screen screen;
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != pid || !IsWindowVisible(window)) continue;
        if (HWND page = FindWindowExA(window, nullptr, "#32770", nullptr)) {
            screen.main = window;
            screen.page = page;
        } else {
            screen.box = window;
        }
    }
    return screen;
}

// Goes through the windows of an installer run as a child process, as a user does: each step
// waits until what it needs is shown, then acts and returns true. Called by RunChild about
// every 50 ms.
class PageUser {
public:
    using Step = std::function<bool(const Screen&)>;
    explicit PageUser(std::vector<Step> steps) : steps_(std::move(steps)) {}

    void operator()(unsigned long pid) {
        if (Done()) return;
        const Screen screen = ScreenOf(pid);
        if (screen.main && steps_[done_](screen)) ++done_;
    }
    bool Done() const { return done_ == steps_.size(); }

private:
    std::vector<Step> steps_;
    size_t done_ = 0;
};

// A message box: its text into `text`, then `button`.
PageUser::Step AnswerBox(std::string& text, int button) {
    return [&text, button](const Screen& s) {
        if (!s.box) return false;
        text = BoxText(s.box);
        Answer(s.box, button);
        return true;
    };
}

// The last page, once the work is done: Close.
bool CloseWhenDone(const Screen& screen) {
    if (!screen.NextReady() || TextOf(screen.Next()).find("Close") == std::string::npos) return false;
    Press(screen.Next());
    return true;
}

// The directory page shows the folder found (here Winamp's default folder, which holds no
// Winamp); Install refuses it with a message; with the test's Winamp folder typed in, the
// install goes through.
TEST_F(Installer, DirectoryPageShowsTheFolderFoundAndRefusesOneWithoutWinamp) {
    std::string shown, refusal;
    PageUser user({
        [&](const Screen& s) {
            if (!s.PageItem(kFolderEdit) || !s.NextReady()) return false;
            shown = TextOf(s.PageItem(kFolderEdit));
            Press(s.Next());
            return true;
        },
        AnswerBox(refusal, IDOK),
        [&](const Screen& s) {
            if (!s.PageItem(kFolderEdit) || !s.NextReady()) return false;
            SetWindowTextA(s.PageItem(kFolderEdit), winamp_.c_str());
            Press(s.Next());
            return true;
        },
        CloseWhenDone,
    });
    const ChildResult run = RunChild("\"" + SetupPath() + "\"", "", 60000, std::ref(user));
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(run.exitCode, kDone);
    EXPECT_EQ(shown, DefaultWinampFolder());
    EXPECT_NE(refusal.find("does not hold winamp.exe"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find(DefaultWinampFolder()), std::string::npos) << refusal;
    ExpectInstalledIn(winamp_);
    EXPECT_FALSE(TempFolder::Exists(DefaultWinampFolder() + "\\Plugins"));
}

// The uninstaller asks before it removes the settings file, and does as answered.
TEST_F(Installer, UninstallAsksBeforeRemovingTheSettings) {
    RegisterWinamp();
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        ASSERT_EQ(Install().exitCode, kDone);
        std::string question;
        PageUser user({
            [](const Screen& s) {
                if (!s.NextReady()) return false;
                Press(s.Next());
                return true;
            },
            AnswerBox(question, answer),
            CloseWhenDone,
        });
        const ChildResult run = UninstallInPlace(std::ref(user));
        EXPECT_FALSE(run.timedOut);
        EXPECT_TRUE(user.Done());
        EXPECT_EQ(run.exitCode, kDone);
        EXPECT_NE(question.find("settings"), std::string::npos) << question;
        EXPECT_NE(question.find(InPlugins(kSettings)), std::string::npos) << question;
        EXPECT_EQ(TempFolder::Exists(InPlugins(kSettings)), answer == IDNO);
        EXPECT_FALSE(TempFolder::Exists(InPlugins(kPlugin)));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));
    }
}

TEST_F(Installer, CarriesVersionInformation) {
    const std::string data = VersionData(SetupPath());
    const VS_FIXEDFILEINFO* fixed = FixedVersion(data);
    ASSERT_NE(fixed, nullptr);
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(GLOWMETER_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
    EXPECT_EQ(fixed->dwProductVersionLS, patch << 16);

    struct Row { const char* name; const char* value; };
    const Row rows[] = {
        {"ProductName", "Glowmeter"},
        {"ProductVersion", GLOWMETER_VERSION_TEXT},
        {"CompanyName", "Glowmeter contributors"},
    };
    for (const Row& row : rows) {
        const char* value = VersionString(data, "040904b0", row.name);  // English, Unicode
        ASSERT_NE(value, nullptr) << row.name;
        EXPECT_STREQ(value, row.value) << row.name;
    }
}

}  // namespace
