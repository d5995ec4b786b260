#pragma once
// A settings file that is there and yet can't be read, in the two ways a test can make one
// with full rights (a file the user may not read can't be made: the tests run as an
// administrator): another program holds it open with no sharing, or a folder has its name.
// The folder is removed when the object goes; the file, if held, is let go.
#include <windows.h>

#include <string>

enum class UnreadableKind { kHeld, kFolder };

struct UnreadableCase {
    const char* name;
    UnreadableKind kind;
};

constexpr UnreadableCase kUnreadableCases[] = {
    {"held by another program", UnreadableKind::kHeld},
    {"a folder in its place", UnreadableKind::kFolder},
};

class UnreadableFile {
public:
    // kHeld holds the existing file at `path`; kFolder puts a folder in place of the file.
    UnreadableFile(const std::string& path, UnreadableKind kind) : path_(path), kind_(kind) {
        if (kind_ == UnreadableKind::kFolder) {
            DeleteFileA(path_.c_str());
            made_ = CreateDirectoryA(path_.c_str(), nullptr) != 0;
        } else {
            holder_ = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            made_ = holder_ != INVALID_HANDLE_VALUE;
        }
    }
    ~UnreadableFile() {
        LetGo();
        if (kind_ == UnreadableKind::kFolder) RemoveDirectoryA(path_.c_str());
    }
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

    bool Made() const { return made_; }
    bool IsFolder() const { return kind_ == UnreadableKind::kFolder; }

    // The other program closes the file; a folder stays until the object goes.
    void LetGo() {
        if (holder_ != INVALID_HANDLE_VALUE) CloseHandle(holder_);
        holder_ = INVALID_HANDLE_VALUE;
    }

    // Whether a folder still stands where the file was.
    bool FolderStands() const {
        const DWORD attributes = GetFileAttributesA(path_.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

private:
    std::string path_;
    UnreadableKind kind_;
    HANDLE holder_ = INVALID_HANDLE_VALUE;
    bool made_ = false;
};
