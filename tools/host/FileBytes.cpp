#include "tools/host/FileBytes.h"

#include <windows.h>

#include "tools/common/FileProblem.h"
#include "tools/common/Utf8Text.h"

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    if (IsFolder(path)) {
        error = "it is a folder";
        return false;
    }
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
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
