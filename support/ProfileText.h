#pragma once
// Looking up a value in the text of a profile file, as the platform's profile reader finds
// it: the first line "key=value" under the first "[section]" line of that name, names
// compared without regard to case, blanks around names and value ignored. Used to check what
// a save really put on disk, which the profile functions themselves (with their cache) can't
// tell. Plain buffers only: the plug-in's DLL carries no C++ library containers.
#include <cstddef>

// Turns a file's bytes into 8-bit text in place and returns where the text begins, with its
// length in `length`: a UTF-16 file (with its byte-order mark) is narrowed, a UTF-8 mark
// skipped. Characters outside 8 bits become '?', which no name here contains.
const char* ProfileTextOf(char* bytes, size_t& length);

// True, with the value (cut to fit, always terminated) in `value`, when the text holds the
// key in the section.
bool FindProfileValue(const char* text, size_t length, const char* section, const char* key, char* value,
                      size_t valueSize);
