#include "tools/host/VisPlugin.h"

#include <cwchar>

#include "support/ModulePath.h"

#include "tools/common/Utf8Text.h"

namespace {

// A plug-in that never ends its list still ends here.
constexpr int kMaxModules = 64;

// Winamp passes its main window to the header export; a plug-in that takes no argument
// ignores it (the caller removes the argument again).
using GetHeaderFn = winampVisHeader* (*)(HWND);

// Paths are wide here and UTF-8 outside, so a folder named outside the ANSI code page works.
constexpr DWORD kPathSize = 32768;

std::wstring BesideHost(const wchar_t* fileName) {
    std::wstring path(kPathSize, L'\0');
    if (!PathBesideModule(nullptr, fileName, &path[0], kPathSize)) return fileName;
    path.resize(std::wcslen(path.c_str()));
    return path;
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(kPathSize, L'\0');
    const DWORD n = GetFullPathNameW(path.c_str(), kPathSize, &full[0], nullptr);
    if (n == 0 || n >= kPathSize) return path;
    full.resize(n);
    return full;
}

std::string LoadFailure(DWORD code) {
    if (code == ERROR_BAD_EXE_FORMAT) {
        return sizeof(void*) == 8 ? "not a 64-bit DLL (32-bit plug-ins need the x86 build of this host)"
                                  : "not a 32-bit DLL (64-bit plug-ins need the x64 build of this host)";
    }
    if (code == ERROR_MOD_NOT_FOUND) return "a library it needs is missing";
    return "Windows cannot load it (error " + std::to_string(code) + ")";
}

}  // namespace

VisPlugin::~VisPlugin() {
    if (dll_) FreeLibrary(dll_);
}

bool VisPlugin::Load(const std::string& path, HWND mainWindow, std::string& error) {
    const std::wstring wide = FullPath(path.empty() ? BesideHost(L"vis_glowmeter.dll") : WideFromUtf8(path));
    path_ = Utf8FromWide(wide.c_str());
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "cannot load the plug-in \"" + path_ + "\": no such file";
        return false;
    }
    // The plug-in's own folder is searched for the libraries it links, as Winamp's is.
    dll_ = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!dll_) {
        error = "cannot load the plug-in \"" + path_ + "\": " + LoadFailure(GetLastError());
        return false;
    }
    auto getHeader =
        reinterpret_cast<GetHeaderFn>(reinterpret_cast<void*>(GetProcAddress(dll_, "winampVisGetHeader")));
    if (!getHeader) {
        error = "\"" + path_ + "\" is not a visualization plug-in (no winampVisGetHeader export)";
        return false;
    }
    header_ = getHeader(mainWindow);
    if (!header_ || !header_->getModule) {
        error = "\"" + path_ + "\" is not a visualization plug-in (its header is empty)";
        return false;
    }
    while (moduleCount_ < kMaxModules && header_->getModule(moduleCount_)) ++moduleCount_;
    if (moduleCount_ == 0) {
        error = "\"" + path_ + "\" is not a visualization plug-in (its header lists no module)";
        return false;
    }
    return true;
}

winampVisModule* VisPlugin::Prepare(int module, HWND mainWindow, std::string& error) {
    winampVisModule* record = module >= 0 && module < moduleCount_ ? Module(module) : nullptr;
    if (!record) {
        error = "the plug-in has no module " + std::to_string(module);
        return nullptr;
    }
    record->hwndParent = mainWindow;
    record->hDllInstance = dll_;
    return record;
}
