#include "tools/host/FileBytes.h"

#include <windows.h>

#include "tools/common/Utf8Text.h"

namespace {

std::string OpenFailure(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME: return "no such file";
        case ERROR_ACCESS_DENIED: return "access denied";
        case ERROR_SHARING_VIOLATION: return "another program holds it open";
        default: return "Windows cannot open it (error " + std::to_string(code) + ")";
    }
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    const std::wstring wide = WideFromUtf8(path);
    // A folder can't be opened as a file either, but "access denied" would not say why.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "it is a folder, not a file";
        return false;
    }
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = OpenFailure(GetLastError());
        return false;
    }
    bool ok = false;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) {
        error = "the file cannot be read";
    } else if (static_cast<uint64_t>(size.QuadPart) > kMaxFileBytes) {
        error = "the file is too large";
    } else {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        ok = true;
        while (ok && done < bytes.size()) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(bytes.size() - done < (1u << 24) ? bytes.size() - done : (1u << 24));
            ok = ReadFile(file, bytes.data() + done, want, &got, nullptr) && got > 0;
            done += got;
        }
        if (!ok) error = "the file cannot be read";
    }
    CloseHandle(file);
    return ok;
}
