#pragma once
// The full path of a library in the system folder: the folder as the system reports it and
// the library's bare file name. Pure text work, so it needs nothing of Windows.
#include <cstddef>

// Room for a full path (the platform's MAX_PATH, terminator included).
constexpr size_t kSystemLibraryPathSize = 260;

// Writes `folder` (its first `folderLength` characters) and `name` joined by one backslash
// into `path`, which holds `pathSize` characters. False, with `path` empty, when the folder is
// empty, when `name` is not a bare file name (empty, or with a drive or folder part), or when
// the result would not fit.
bool JoinSystemLibraryPath(const char* folder, size_t folderLength, const char* name, char* path, size_t pathSize);
