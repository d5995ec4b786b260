#pragma once
// Writing the tools' UTF-8 text to standard output or error: on a console as wide characters,
// so every letter shows whatever the console's code page; to a file or a pipe as the UTF-8
// bytes, with each line ended by CR LF as Windows programs end them.
#include <windows.h>

#include <string>

enum class StdStream { Out, Err };

void WriteText(StdStream stream, const std::string& text);

// Whether `handle` is a console (not a file, a pipe or no handle at all): there the tools
// write wide characters and may redraw a line in place.
bool IsConsole(HANDLE handle);
