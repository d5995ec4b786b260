#include "settings/SettingsFileWriter.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "support/ProfileText.h"

namespace {

constexpr wchar_t kCopySuffix[] = L".tmp";
constexpr LONGLONG kLargestFile = 64LL * 1024 * 1024;  // far beyond any settings file

// The names and values written here are plain ASCII; false when one does not fit.
bool Narrow(const wchar_t* text, char (&narrow)[SettingsFileWriter::kNameSize]) {
    size_t i = 0;
    for (; text[i]; ++i) {
        if (i + 1 >= sizeof narrow) return false;
        narrow[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    }
    narrow[i] = '\0';
    return true;
}

bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// The whole file in a block of its own (free it), flushed to the disk first; null when it
// can't be opened or read.
char* FlushAndRead(const wchar_t* path, size_t& length) {
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, kSettingsFileSharing, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size = {};
    char* bytes = nullptr;
    if (FlushFileBuffers(file) && GetFileSizeEx(file, &size) && size.QuadPart < kLargestFile)
        bytes = static_cast<char*>(std::malloc(static_cast<size_t>(size.QuadPart) + 1));
    DWORD got = 0;
    if (bytes && (!ReadFile(file, bytes, static_cast<DWORD>(size.QuadPart), &got, nullptr) || got != size.QuadPart)) {
        std::free(bytes);
        bytes = nullptr;
    }
    CloseHandle(file);
    length = got;
    return bytes;
}

// Gives `to` the access list of `from`, when `from` exists and the system lets it be read;
// otherwise `to` keeps the list it was made with (its folder's).
void CarryAccessList(const wchar_t* from, const wchar_t* to) {
    DWORD needed = 0;
    GetFileSecurityW(from, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return;
    void* descriptor = std::malloc(needed);
    if (descriptor && GetFileSecurityW(from, DACL_SECURITY_INFORMATION, descriptor, needed, &needed))
        SetFileSecurityW(to, DACL_SECURITY_INFORMATION, descriptor);
    std::free(descriptor);
}

}  // namespace

SettingsFileWriter::SettingsFileWriter(const wchar_t* path) : path_(), copy_() {
    if (!path || std::wcslen(path) >= kSettingsPathSize) {
        failed_ = true;
        return;
    }
    std::wcscpy(path_, path);
    std::wcscpy(copy_, path);
    std::wcscat(copy_, kCopySuffix);
}

SettingsFileWriter::~SettingsFileWriter() {
    if (!committed_) Discard();
}

bool SettingsFileWriter::Begin() {
    if (failed_) return false;
    // A folder in the file's place is never written over.
    const DWORD attributes = GetFileAttributesW(path_);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        failed_ = true;
        return false;
    }
    return MakeCopy();
}

// The copy starts as the current file. When not even an empty file can be made beside it,
// the folder is closed to this user: the file itself is the target.
bool SettingsFileWriter::MakeCopy() {
    HANDLE created = CreateFileW(copy_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_ACCESS_DENIED || !Exists(path_)) return false;
        target_ = path_;
        return true;
    }
    CloseHandle(created);
    if (Exists(path_) && !CopyFileW(path_, copy_, FALSE)) {
        Discard();
        return false;
    }
    // The copy must be writable even when the file is marked read-only; the replacement
    // then fails on the file itself, which is what the user sees.
    SetFileAttributesW(copy_, FILE_ATTRIBUTE_NORMAL);
    target_ = copy_;
    return true;
}

void SettingsFileWriter::Write(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (!target_ || failed_) return;
    if (count_ == kMaxValues) {
        failed_ = true;
        return;
    }
    Entry& entry = written_[count_];
    if (!Narrow(section, entry.section) || !Narrow(key, entry.key) || !Narrow(value, entry.value) ||
        !WritePrivateProfileStringW(section, key, value, target_)) {
        failed_ = true;
        return;
    }
    ++count_;
}

bool SettingsFileWriter::Commit() {
    if (!target_ || failed_ || !ReadBack()) {
        Discard();
        return false;
    }
    if (target_ == path_) return committed_ = true;
    if (!Replace()) {
        Discard();
        return false;
    }
    return committed_ = true;
}

// What the disk holds now, whatever the profile functions say they wrote.
bool SettingsFileWriter::ReadBack() const {
    size_t length = 0;
    char* bytes = FlushAndRead(target_, length);
    if (!bytes) return false;
    const char* text = ProfileTextOf(bytes, length);
    bool all = true;
    for (int i = 0; i < count_ && all; ++i) {
        const Entry& entry = written_[i];
        char value[kNameSize + 1];
        all = FindProfileValue(text, length, entry.section, entry.key, value, sizeof value) &&
              std::strcmp(value, entry.value) == 0;
    }
    std::free(bytes);
    return all;
}

// The copy takes the file's place in one rename, so that at every moment the file is either
// the old one or the new one, never missing (ReplaceFileW is not that everywhere: it may move
// the old file aside first). A rename keeps the copy's own access list, so the file's list
// (which an installer may have set to let every user write the file) is carried over first.
bool SettingsFileWriter::Replace() {
    CarryAccessList(path_, copy_);
    return MoveFileExW(copy_, path_, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void SettingsFileWriter::Discard() {
    if (!copy_[0]) return;
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copy_);
    // The access list carried over from a read-only file may have made the copy read-only.
    SetFileAttributesW(copy_, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(copy_);
}
