#pragma once
// Why a file can't be had, in the words the tools tell the user.
#include <string>

// True when the UTF-8 `path` names a folder: opening it as a file fails as "access denied",
// which would not say why.
bool IsFolder(const std::string& path);

// The reason for a failed open, from the system's error code.
std::string OpenFailure(unsigned long systemError);
