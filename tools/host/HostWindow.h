#pragma once
// The host's own hidden top-level window: the owner of the plug-in's dialogs and message
// boxes, as Winamp's main window is.
#include <windows.h>

class HostWindow {
public:
    HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow();
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};
