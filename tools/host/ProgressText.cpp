#include "tools/host/ProgressText.h"

#include <cstdio>

int FormatProgress(char* out, size_t size, uint64_t positionMs, uint64_t totalMs, long long frames) {
    if (positionMs > totalMs) positionMs = totalMs;
    return std::snprintf(out, size, "%s / %s  %lld frames", TrackTime(positionMs).c_str(), TrackTime(totalMs).c_str(),
                         frames);
}

int FormatRate(char* out, size_t size, long long frames, uint64_t elapsedMs) {
    const double seconds = static_cast<double>(elapsedMs) / 1000.0;
    const double rate = elapsedMs ? static_cast<double>(frames) * 1000.0 / static_cast<double>(elapsedMs) : 0.0;
    return std::snprintf(out, size, " in %.2f s, %.0f frames/s", seconds, rate);
}

std::string TrackTime(uint64_t ms) {
    const unsigned long long tenths = ms / 100;
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu.%llu", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}
