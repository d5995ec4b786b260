#pragma once
// A Winamp visualization plug-in DLL, loaded by the thread that loads the object for as long
// as the object lives: its header and its list of modules.
#include <windows.h>

#include <string>

#include "sdk/WinampVis.h"

class VisPlugin {
public:
    VisPlugin() = default;
    VisPlugin(const VisPlugin&) = delete;
    VisPlugin& operator=(const VisPlugin&) = delete;
    ~VisPlugin();

    // Loads the DLL at the UTF-8 `path` (empty: vis_glowmeter.dll beside the host) and lists its
    // modules; `mainWindow` is handed to winampVisGetHeader as Winamp hands its main window.
    // Fails with the reason when the file is missing or no DLL of this host's architecture,
    // when it has no winampVisGetHeader export, or when it lists no module.
    bool Load(const std::string& path, HWND mainWindow, std::string& error);

    const winampVisHeader& Header() const { return *header_; }
    int ModuleCount() const { return moduleCount_; }
    winampVisModule* Module(int index) const { return header_->getModule(index); }
    // Module `module`, made ready to start as Winamp makes it: its hwndParent is `mainWindow`
    // and its hDllInstance this DLL. Null, with the reason, when the plug-in has no such module.
    winampVisModule* Prepare(int module, HWND mainWindow, std::string& error);
    HINSTANCE Instance() const { return dll_; }
    // The DLL's full path, in UTF-8.
    const std::string& Path() const { return path_; }

private:
    HMODULE dll_ = nullptr;
    winampVisHeader* header_ = nullptr;
    int moduleCount_ = 0;
    std::string path_;
};
