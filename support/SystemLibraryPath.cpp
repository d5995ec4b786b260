#include "support/SystemLibraryPath.h"

#include <cstring>

namespace {

// A bare file name: something that names no drive and no folder, so joining it to the system
// folder can only ever point into that folder.
bool IsBareFileName(const char* name) {
    if (!name || !*name) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    return std::strpbrk(name, "\\/:") == nullptr;
}

}  // namespace

bool JoinSystemLibraryPath(const char* folder, size_t folderLength, const char* name, char* path, size_t pathSize) {
    if (!path || pathSize == 0) return false;
    path[0] = '\0';
    if (!folder || folderLength == 0 || !IsBareFileName(name)) return false;

    // The system reports a root folder with its backslash ("C:\") and any other without one.
    const bool hasSeparator = folder[folderLength - 1] == '\\';
    const size_t nameLength = std::strlen(name);
    const size_t length = folderLength + (hasSeparator ? 0 : 1) + nameLength;
    if (length >= pathSize) return false;

    std::memcpy(path, folder, folderLength);
    size_t at = folderLength;
    if (!hasSeparator) path[at++] = '\\';
    std::memcpy(path + at, name, nameLength + 1);
    return true;
}
