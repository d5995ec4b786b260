#pragma once
// Text inside the tools is UTF-8, whatever the system's ANSI code page: names from the command
// line, paths and messages. The system's file, module and environment calls take it as wide
// strings, so a name outside the ANSI code page (Cyrillic, CJK, ...) survives both ways.
#include <string>
#include <vector>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text);

// The program's arguments as wmain receives them, as UTF-8, with an argv-style array that
// points into them for the option parsers.
class Utf8Arguments {
public:
    Utf8Arguments(int argc, const wchar_t* const* argv);
    int Count() const { return static_cast<int>(values_.size()); }
    const char* const* Values() const { return values_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> values_;
};
