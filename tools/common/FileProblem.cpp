#include "tools/common/FileProblem.h"

#include <windows.h>

#include "tools/common/Utf8Text.h"

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string OpenFailure(unsigned long systemError) {
    switch (systemError) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_NAME: return "no such file";
        case ERROR_PATH_NOT_FOUND: return "its folder does not exist";
        case ERROR_ACCESS_DENIED: return "access denied";
        case ERROR_SHARING_VIOLATION: return "another program holds it open";
        default: return "Windows cannot open it (error " + std::to_string(systemError) + ")";
    }
}
