#pragma once
// The path of a file beside a module: the module's own path up to its last backslash, then
// the file's name. The plug-in finds its settings file beside its DLL this way, INIFILE a
// file beside the program, and the tools and tests the files built beside them. Inline, so a
// tool or test that links none of the plug-in's code can use it too.
#include <windows.h>

#include <cstddef>

namespace module_path_detail {

inline DWORD ModuleFileName(HMODULE module, char* path, DWORD size) { return GetModuleFileNameA(module, path, size); }
inline DWORD ModuleFileName(HMODULE module, wchar_t* path, DWORD size) {
    return GetModuleFileNameW(module, path, size);
}

template <typename Char>
size_t Length(const Char* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

template <typename Char>
bool Beside(HMODULE module, const Char* name, Char* path, size_t size) {
    if (!path || size == 0) return false;
    path[0] = 0;
    if (!name || size > 0x7FFFFFFF) return false;
    // One character of room is held back: a name that fills it may have been cut off.
    const DWORD got = ModuleFileName(module, path, static_cast<DWORD>(size - 1));
    size_t folder = got > 0 && got < size - 1 ? got : 0;
    while (folder > 0 && path[folder - 1] != '\\') --folder;
    const size_t nameLength = Length(name);
    if (folder == 0 || folder + nameLength >= size) {
        path[0] = 0;
        return false;
    }
    for (size_t i = 0; i <= nameLength; ++i) path[folder + i] = name[i];
    return true;
}

}  // namespace module_path_detail

// Puts the path of `name` in the folder of `module` (null: the program itself) into `path`, of
// `size` characters. False, with `path` empty, when the module's file name can't be had, was
// cut off, holds no folder, or the whole does not fit.
inline bool PathBesideModule(HMODULE module, const char* name, char* path, size_t size) {
    return module_path_detail::Beside(module, name, path, size);
}

inline bool PathBesideModule(HMODULE module, const wchar_t* name, wchar_t* path, size_t size) {
    return module_path_detail::Beside(module, name, path, size);
}
