#pragma once
// Drives the real settings dialog as a user would: Config runs on the test thread with its
// modal loop, while a helper thread finds the dialog, sets controls, reads what they show
// and clicks. Every wait is bounded; a dialog or box left open is ended by a watchdog, so a
// failing test ends instead of hanging.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "plugin/Lifecycle.h"
#include "plugin/Render.h"

namespace dialogtest {

constexpr DWORD kWindowWaitMs = 10000;

inline std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A visible dialog box (message boxes are dialogs too) of `thread` with this caption.
inline HWND FindDialog(DWORD thread, const char* caption) {
    struct Search { const char* caption; HWND found; } search = {caption, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (ClassOf(window) == "#32770" && IsWindowVisible(window) && WindowText(window) == s->caption) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND WaitForDialog(DWORD thread, const char* caption, DWORD timeoutMs = kWindowWaitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FindDialog(thread, caption)) return found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(10);
    }
}

inline bool WaitUntilGone(HWND window, DWORD timeoutMs = kWindowWaitMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

// The text of a message box: its static control that holds text (the icon's has none).
inline std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            auto* out = reinterpret_cast<std::string*>(data);
            if (_stricmp(ClassOf(child).c_str(), "Static") == 0 && !WindowText(child).empty()) {
                *out = WindowText(child);
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

// Clicks that open or end a modal window are posted: a sent click would wait for the window
// it opens to close. Other clicks are sent, so their effect is there when they return.
inline void PostClick(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
inline void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Picks a list entry the way a user's choice reaches the dialog: the selection, then the
// list's notification to its parent.
inline void Choose(HWND dialog, int listId, int index) {
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(static_cast<INT_PTR>(index)), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

inline int Selection(HWND dialog, int listId) {
    return static_cast<int>(SendDlgItemMessageA(dialog, listId, CB_GETCURSEL, 0, 0));
}

inline std::string ListEntry(HWND dialog, int listId, int index) {
    char text[256] = {};
    if (SendDlgItemMessageA(dialog, listId, CB_GETLBTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof text)) return "";
    SendDlgItemMessageA(dialog, listId, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

inline unsigned Number(HWND dialog, int id) { return GetDlgItemInt(dialog, id, nullptr, FALSE); }
inline bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// Ends every dialog box of `thread` (boxes first, as they sit above the settings dialog).
inline void EndAllDialogs(DWORD thread) {
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM) -> BOOL {
            if (ClassOf(window) == "#32770") EndDialog(window, 0);
            return TRUE;
        },
        0);
}

// Runs Config(module) on this thread while `script(dialog)` drives the dialog from a helper
// thread. The script must close the dialog (Apply or Cancel) and any box it opens.
class ConfigSession {
public:
    using Script = std::function<void(HWND dialog)>;

    // `beforeDialog`, when given, runs on the helper thread first, while Config has not yet
    // opened the dialog (to dismiss a box that comes before it).
    void Run(winampVisModule& module, Script script, std::function<void()> beforeDialog = nullptr) {
        RunWith([&] { Config(&module); }, std::move(script), std::move(beforeDialog));
    }

    // The same with any way of opening the settings on this thread (through a DLL's own
    // module record, as a host does).
    void RunWith(const std::function<void()>& openSettings, Script script,
                 std::function<void()> beforeDialog = nullptr) {
        configThread = GetCurrentThreadId();
        this->script = std::move(script);
        this->beforeDialog = std::move(beforeDialog);
        configReturned = 0;
        dialogSeen = false;
        watchdogFired = false;
        HANDLE helper = CreateThread(nullptr, 0, &ConfigSession::Helper, this, 0, nullptr);
        ASSERT_NE(helper, nullptr);
        openSettings();
        InterlockedExchange(&configReturned, 1);
        EXPECT_EQ(WaitForSingleObject(helper, 3 * kWindowWaitMs), WAIT_OBJECT_0);
        CloseHandle(helper);
        EXPECT_TRUE(dialogSeen) << "the settings dialog never appeared";
        EXPECT_FALSE(watchdogFired) << "the dialog or a box stayed open: the watchdog ended it";
    }

    DWORD configThread = 0;

private:
    static DWORD WINAPI Helper(LPVOID self) {
        static_cast<ConfigSession*>(self)->Drive();
        return 0;
    }

    void Drive() {
        if (beforeDialog) beforeDialog();
        HWND dialog = WaitForDialog(configThread, "Glowmeter");
        dialogSeen = dialog != nullptr;
        if (dialog) script(dialog);
        // Wait for Config to finish; if it does not, end whatever is still open.
        const DWORD start = GetTickCount();
        while (!configReturned && GetTickCount() - start < 2 * kWindowWaitMs) {
            if (GetTickCount() - start > kWindowWaitMs) {
                watchdogFired = true;
                EndAllDialogs(configThread);
            }
            Sleep(10);
        }
    }

    Script script;
    std::function<void()> beforeDialog;
    volatile LONG configReturned = 0;
    bool dialogSeen = false;
    bool watchdogFired = false;
};

}  // namespace dialogtest
