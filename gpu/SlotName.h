#pragma once
// Writing a device slot's name text: always bounded and terminated, whatever the source.
// At most 63 characters of the source are read, so a driver text that fills its 64 bytes
// without a terminator is safe to pass.
#include "settings/PluginCfg.h"

inline void CopyName(char (&name)[kSlotNameSize], const char* text) {
    int i = 0;
    for (; i < kSlotNameSize - 1 && text[i]; ++i) name[i] = text[i];
    name[i] = '\0';
}

// The names a slot shows when its light can't be used.
constexpr const char* kNameUnknown = "Unknown";      // no driver, library link, display or GPU
constexpr const char* kNameUnsupport = "Unsupport";  // the GPU is there but lacks the light
