#include "support/ProfileText.h"

#include <cctype>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A piece of the text, blanks trimmed from both ends.
struct Span {
    const char* begin;
    const char* end;

    Span Trimmed() const {
        Span s = *this;
        while (s.begin < s.end && IsBlank(*s.begin)) ++s.begin;
        while (s.end > s.begin && IsBlank(s.end[-1])) --s.end;
        return s;
    }
    const char* Find(char c) const {
        for (const char* p = begin; p < end; ++p)
            if (*p == c) return p;
        return nullptr;
    }
    bool Names(const char* name) const {
        const size_t size = static_cast<size_t>(end - begin);
        if (size != std::strlen(name)) return false;
        for (size_t i = 0; i < size; ++i) {
            if (std::tolower(static_cast<unsigned char>(begin[i])) != std::tolower(static_cast<unsigned char>(name[i])))
                return false;
        }
        return true;
    }
};

void CopyOut(Span span, char* value, size_t valueSize) {
    if (valueSize == 0) return;
    size_t size = static_cast<size_t>(span.end - span.begin);
    if (size > valueSize - 1) size = valueSize - 1;
    std::memcpy(value, span.begin, size);
    value[size] = '\0';
}

}  // namespace

const char* ProfileTextOf(char* bytes, size_t& length) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (length >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        size_t out = 0;
        for (size_t i = 2; i + 1 < length; i += 2) {
            const unsigned unit = b[i] | static_cast<unsigned>(b[i + 1]) << 8;
            bytes[out++] = unit < 0x100 ? static_cast<char>(unit) : '?';
        }
        length = out;
        return bytes;
    }
    if (length >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        length -= 3;
        return bytes + 3;
    }
    return bytes;
}

bool FindProfileValue(const char* text, size_t length, const char* section, const char* key, char* value,
                      size_t valueSize) {
    const char* const textEnd = text + length;
    bool inSection = false;
    for (const char* start = text; start < textEnd;) {
        const char* end = start;
        while (end < textEnd && *end != '\r' && *end != '\n') ++end;
        const Span line = Span{start, end}.Trimmed();
        start = end + 1;
        if (line.begin < line.end && *line.begin == '[') {
            // Only the first section of a name counts, as the profile reader sees it.
            if (inSection) return false;
            const char* close = line.Find(']');
            inSection = close && Span{line.begin + 1, close}.Trimmed().Names(section);
            continue;
        }
        if (!inSection) continue;
        const char* equals = line.Find('=');
        if (!equals || !Span{line.begin, equals}.Trimmed().Names(key)) continue;
        CopyOut(Span{equals + 1, line.end}.Trimmed(), value, valueSize);
        return true;
    }
    return false;
}
