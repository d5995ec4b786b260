#include "dialog/Win32Ver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kQueryPathSize = 128;

struct Translation {
    WORD language;
    WORD codePage;
};

// Reads the file's version data into a new block kept in `block`, through the 8-bit or the
// wide calls; 1 when it was read. A block allocated before a failure stays in `block`.
template <typename Char, typename SizeFn, typename ReadFn>
int ReadVersionData(const Char* name, SizeFn sizeOf, ReadFn read, void*& block) {
    const DWORD size = sizeOf(name, nullptr);
    if (size == 0) return 0;
    block = std::malloc(size);
    if (!block) return 0;
    return read(name, 0, size, block) ? 1 : 0;
}

}  // namespace

WIN32VER::WIN32VER() : versionData(nullptr), language(0), codePage(0), fileName(nullptr), opened(0) {}

WIN32VER::~WIN32VER() { Release(); }

void WIN32VER::Release() {
    std::free(versionData);
    versionData = nullptr;
    std::free(fileName);
    fileName = nullptr;
    language = 0;
    codePage = 0;
    opened = 0;
}

int WIN32VER::Open(const char* name) {
    Release();
    if (!name) return 0;

    const size_t length = std::strlen(name);
    fileName = static_cast<char*>(std::malloc(length + 1));
    if (!fileName) return 0;
    std::memcpy(fileName, name, length + 1);

    if (!ReadVersionData(fileName, GetFileVersionInfoSizeA, GetFileVersionInfoA, versionData)) return 0;
    return TakeTranslation();
}

int WIN32VER::OpenWide(const wchar_t* name) {
    Release();
    if (!name) return 0;

    const int length = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return 0;
    fileName = static_cast<char*>(std::malloc(static_cast<size_t>(length)));
    if (!fileName) return 0;
    WideCharToMultiByte(CP_ACP, 0, name, -1, fileName, length, nullptr, nullptr);

    if (!ReadVersionData(name, GetFileVersionInfoSizeW, GetFileVersionInfoW, versionData)) return 0;
    return TakeTranslation();
}

int WIN32VER::TakeTranslation() {
    void* value = nullptr;
    UINT valueSize = 0;
    if (!VerQueryValueA(versionData, "\\VarFileInfo\\Translation", &value, &valueSize)) return 0;
    if (valueSize != sizeof(Translation)) return 0;
    const Translation* first = static_cast<const Translation*>(value);
    language = first->language;
    codePage = first->codePage;
    opened = 1;
    return 1;
}

const char* WIN32VER::QueryString(const char* name) {
    // Without a successful Open there is nothing to look in (a failed one may leave a block
    // that was never filled); a name too long for the query path would be cut off and could
    // name a different entry. Both count as a missing entry.
    if (!opened || !name) return "(error)";
    char path[kQueryPathSize];
    const int written = std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
    if (written < 0 || written >= kQueryPathSize) return "(error)";

    void* value = nullptr;
    UINT valueSize = 0;
    if (!VerQueryValueA(versionData, path, &value, &valueSize)) return "(error)";
    // An empty entry has no characters; some resource compilers count its terminator.
    const char* text = static_cast<const char*>(value);
    if (valueSize == 0 || !text || text[0] == '\0') return "(null)";
    return text;
}
