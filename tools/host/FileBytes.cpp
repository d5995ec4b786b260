#include "tools/host/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = errno == ENOENT ? "no such file" : std::strerror(errno);
        return false;
    }
    bool ok = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size >= 0 && uint64_t(size) > kMaxFileBytes) {
            error = "the file is too large";
        } else if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<size_t>(size));
            ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
            if (!ok) error = "the file cannot be read";
        } else {
            error = "the file cannot be read";
        }
    } else {
        error = "the file cannot be read";
    }
    std::fclose(file);
    return ok;
}
