#pragma once
// A plug-in DLL loaded the way glowmeter-host loads one (by full path, its imports looked for
// beside it first), with its first module ready to be driven. Released when the object goes.
#include <windows.h>

#include <string>

#include "sdk/WinampVis.h"

class LoadedPlugin {
public:
    explicit LoadedPlugin(const std::string& path)
        : dll_(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
        auto get = Export<winampVisGetHeaderType>("winampVisGetHeader");
        winampVisHeader* header = get ? get() : nullptr;
        module_ = header ? header->getModule(0) : nullptr;
        if (module_) module_->hDllInstance = dll_;
    }
    ~LoadedPlugin() {
        if (dll_) FreeLibrary(dll_);
    }
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    // Module 0 ("Normal response"), or null when the DLL could not be loaded.
    winampVisModule* Module() const { return module_; }

    template <typename Function>
    Function Export(const char* name) const {
        return dll_ ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll_, name))) : nullptr;
    }

private:
    HMODULE dll_;
    winampVisModule* module_ = nullptr;
};
