#include "tools/host/ProgressText.h"

#include <cstdio>

int FormatProgress(char* out, size_t size, uint64_t positionMs, uint64_t totalMs, long long frames) {
    if (positionMs > totalMs) positionMs = totalMs;
    const unsigned long long p = positionMs / 100, t = totalMs / 100;  // in tenths of a second
    return std::snprintf(out, size, "%llu:%02llu.%llu / %llu:%02llu.%llu  %lld frames", p / 600, p / 10 % 60, p % 10,
                         t / 600, t / 10 % 60, t % 10, frames);
}

int FormatRate(char* out, size_t size, long long frames, uint64_t elapsedMs) {
    const double seconds = static_cast<double>(elapsedMs) / 1000.0;
    const double rate = elapsedMs ? static_cast<double>(frames) * 1000.0 / static_cast<double>(elapsedMs) : 0.0;
    return std::snprintf(out, size, " in %.2f s, %.0f frames/s", seconds, rate);
}
