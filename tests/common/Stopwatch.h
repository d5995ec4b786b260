#pragma once
// Milliseconds from the high-resolution counter, for tests that bound how long a call takes.
#include <windows.h>

inline double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}
