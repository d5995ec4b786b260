#pragma once
// A fresh folder under the temporary folder for one test, removed with everything in it
// (read-only files and sub-folders included) when the object goes.
#include <windows.h>

#include <set>
#include <string>

class TempFolder {
public:
    TempFolder() {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        static LONG counter = 0;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::string candidate = std::string(temp) + "glowmeter_" + std::to_string(GetCurrentProcessId()) +
                                    "_" + std::to_string(InterlockedIncrement(&counter)) + "_" +
                                    std::to_string(GetTickCount());
            if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
        }
    }
    ~TempFolder() {
        if (!path_.empty()) RemoveTree(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

    static bool Exists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

    static std::string ReadBytes(const std::string& file) {
        std::string bytes;
        HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return bytes;
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(h, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
        CloseHandle(h);
        return bytes;
    }

    static bool WriteBytes(const std::string& file, const std::string& bytes) {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD put = 0;
        const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
        CloseHandle(h);
        return ok && put == bytes.size();
    }

    // The names of the files and folders in `folder` (none when it does not exist).
    static std::set<std::string> Names(const std::string& folder) {
        std::set<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.insert(name);
        } while (FindNextFileA(h, &found));
        FindClose(h);
        return names;
    }

    // Wide paths with the "\\?\" prefix, so that folders nested beyond MAX_PATH go too.
    static void RemoveTree(const std::string& folder) { RemoveTreeW(L"\\\\?\\" + Wide(folder)); }

    static std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

private:
    static void RemoveTreeW(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTreeW(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(h, &found));
            FindClose(h);
        }
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(folder.c_str());
    }

    std::string path_;
};
