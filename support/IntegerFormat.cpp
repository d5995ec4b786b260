#include "support/IntegerFormat.h"

#include <cstring>

namespace {

bool IsFlag(char c) { return c != '\0' && std::strchr("-+ #0", c) != nullptr; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIntegerConversion(char c) { return c != '\0' && std::strchr("diuxXo", c) != nullptr; }

// Reads one conversion after its '%'; returns the character after it, or null when it is
// not one that formats a 32-bit integer.
const char* SkipIntegerConversion(const char* p) {
    while (IsFlag(*p)) ++p;
    while (IsDigit(*p)) ++p;
    if (*p == 'l') ++p;
    return IsIntegerConversion(*p) ? p + 1 : nullptr;
}

}  // namespace

bool IsIntegerFormat(const char* format) {
    if (!format) return false;
    int conversions = 0;
    for (const char* p = format; *p;) {
        if (*p != '%') {
            ++p;
            continue;
        }
        if (p[1] == '%') {
            p += 2;
            continue;
        }
        p = SkipIntegerConversion(p + 1);
        if (!p || ++conversions > 1) return false;
    }
    return conversions == 1;
}
