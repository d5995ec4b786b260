#pragma once
// printf-style text to the debugger output, through a 1024-character buffer; a longer text is
// cut at the buffer's end.
void DebugTrace(const char* format, ...);
