#pragma once
// A file's version resource as GetFileVersionInfo reads it, and the parts tests look at.
#include <windows.h>

#include <string>

// The file's whole version data; empty when it has none.
inline std::string VersionData(const std::string& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    std::string data(size, '\0');
    if (size == 0 || !GetFileVersionInfoA(file.c_str(), 0, size, &data[0])) return "";
    return data;
}

// The fixed part of version data (file and product version, flags, type), or nullptr.
inline const VS_FIXEDFILEINFO* FixedVersion(const std::string& data) {
    void* fixed = nullptr;
    UINT length = 0;
    if (data.empty() || !VerQueryValueA(data.data(), "\\", &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(fixed);
}

// One entry of the data's "StringFileInfo" block `table` (language and code page in hex,
// e.g. "040904b0"); nullptr when it is missing.
inline const char* VersionString(const std::string& data, const std::string& table, const std::string& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string entry = "\\StringFileInfo\\" + table + "\\" + name;
    if (data.empty() || !VerQueryValueA(data.data(), entry.c_str(), &value, &length)) return nullptr;
    return static_cast<const char*>(value);
}
