#include "support/ProfileText.h"

#include <cctype>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text, size_t begin, size_t end) {
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string ProfileTextOf(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned unit = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
            text.push_back(unit < 0x100 ? static_cast<char>(unit) : '?');
        }
        return text;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
    return bytes;
}

bool FindProfileValue(const std::string& text, const char* section, const char* key, std::string& value) {
    bool inSection = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(text, start, end);
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            // Only the first section of a name counts, as the profile reader sees it.
            if (inSection) return false;
            const size_t close = line.find(']');
            inSection = close != std::string::npos && SameName(Trimmed(line, 1, close), section);
            continue;
        }
        if (!inSection) continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos || !SameName(Trimmed(line, 0, equals), key)) continue;
        value = Trimmed(line, equals + 1, line.size());
        return true;
    }
    return false;
}
