#pragma once
// The text of the host's progress line: "0:05.2 / 0:20.0  104 frames".
#include <cstddef>
#include <cstdint>
#include <string>

int FormatProgress(char* out, size_t size, uint64_t positionMs, uint64_t totalMs, long long frames);

// The rate of a finished run: " in 1.52 s, 270 frames/s".
int FormatRate(char* out, size_t size, long long frames, uint64_t elapsedMs);

// A track position to the tenth of a second, rounded down: "1:05.2".
std::string TrackTime(uint64_t ms);
