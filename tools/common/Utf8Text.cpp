#include "tools/common/Utf8Text.h"

#include <windows.h>

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(length - 1));  // without the terminator
    return utf8;
}

Utf8Arguments::Utf8Arguments(int argc, const wchar_t* const* argv) {
    for (int i = 0; i < argc; ++i) texts_.push_back(Utf8FromWide(argv[i]));
    // Pointers are taken once every text is in place: the vector no longer moves them.
    for (const std::string& text : texts_) values_.push_back(text.c_str());
}
