#pragma once
// Reading a whole file into memory, with the reason in words when that fails. The path is
// UTF-8 and opened through the wide file calls, so any file name works.
#include <cstdint>
#include <string>
#include <vector>

// Files above this size are refused rather than read: a track is a few megabytes.
constexpr uint64_t kMaxFileBytes = 1ull << 30;

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
