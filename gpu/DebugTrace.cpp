#include "gpu/DebugTrace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

void DebugTrace(const char* format, ...) {
    if (!format) return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    // A longer text is cut at the buffer's end; a formatting error sends nothing.
    if (written < 0) return;
    buffer[sizeof buffer - 1] = '\0';
    OutputDebugStringA(buffer);
}
