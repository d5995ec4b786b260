#pragma once
// Looking up a value in the text of a profile file, as the platform's profile reader finds
// it: the first line "key=value" under the first "[section]" line of that name, names
// compared without regard to case, blanks around names and value ignored. Used to check what
// a save really put on disk, which the profile functions themselves (with their cache) can't
// tell.
#include <string>

// The file's bytes as 8-bit text: a UTF-16 file (with its byte-order mark) is narrowed, a
// UTF-8 mark dropped. Characters outside 8 bits become '?', which no name here contains.
std::string ProfileTextOf(const std::string& bytes);

// True, with the value in `value`, when `text` holds the key in the section.
bool FindProfileValue(const std::string& text, const char* section, const char* key, std::string& value);
