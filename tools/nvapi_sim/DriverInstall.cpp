#include "tools/nvapi_sim/DriverInstall.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "tools/nvapi_sim/StandInMark.h"

namespace {

bool Exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The whole file; false when it can't be read.
bool ReadAll(const std::string& path, std::vector<char>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    return ok;
}

// A program that ended a moment ago (one that crashed, or was stopped for taking too long)
// may still hold the library it loaded until the system has finished with it: a change of
// the file is tried again for a few seconds while it is refused as in use.
template <typename Change>
bool Retried(Change change) {
    constexpr int kAttempts = 50;
    constexpr DWORD kPauseMs = 100;
    for (int attempt = 1;; ++attempt) {
        if (change()) return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == kAttempts) return false;
        Sleep(kPauseMs);
    }
}

std::string NotOurs(const std::string& path) {
    return path + " is not a Glowmeter stand-in driver (it may be NVIDIA's): it is left alone";
}

}  // namespace

bool IsStandInDriver(const std::string& path) {
    std::vector<char> bytes;
    if (!ReadAll(path, bytes)) return false;
    const char* mark = kStandInMark;
    return std::search(bytes.begin(), bytes.end(), mark, mark + sizeof kStandInMark - 1) != bytes.end();
}

InstallResult InstallStandIn(const std::string& source, const std::string& target, std::string& message) {
    if (!Exists(source)) {
        message = "no such file: " + source;
        return InstallResult::kFailed;
    }
    if (!IsStandInDriver(source)) {
        message = source + " is not a Glowmeter stand-in driver: nothing installed";
        return InstallResult::kRefused;
    }
    if (Exists(target) && !IsStandInDriver(target)) {
        message = NotOurs(target);
        return InstallResult::kRefused;
    }
    const std::string copy = target + ".glowmeter-new";
    const bool replaced = CopyFileA(source.c_str(), copy.c_str(), FALSE) && Retried([&] {
        return MoveFileExA(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
    });
    if (!replaced) {
        const DWORD error = GetLastError();
        DeleteFileA(copy.c_str());
        message = "cannot write " + target + " (error " + std::to_string(error) + ")";
        return InstallResult::kFailed;
    }
    message = "installed " + source + " as " + target;
    return InstallResult::kDone;
}

InstallResult RemoveStandIn(const std::string& target, std::string& message) {
    if (!Exists(target)) {
        message = "no driver library at " + target;
        return InstallResult::kDone;
    }
    if (!IsStandInDriver(target)) {
        message = NotOurs(target);
        return InstallResult::kRefused;
    }
    if (!Retried([&] { return DeleteFileA(target.c_str()) != 0; })) {
        message = "cannot delete " + target + " (error " + std::to_string(GetLastError()) + ")";
        return InstallResult::kFailed;
    }
    message = "removed " + target;
    return InstallResult::kDone;
}
