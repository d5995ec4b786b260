#pragma once
// Writing the tools' UTF-8 text to standard output or error: on a console as wide characters,
// so every letter shows whatever the console's code page; to a file or a pipe as the UTF-8
// bytes, with each line ended by CR LF as Windows programs end them.
#include <string>

enum class StdStream { Out, Err };

void WriteText(StdStream stream, const std::string& text);
