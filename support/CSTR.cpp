#include "support/CSTR.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

CSTR::CSTR(const char* text) : length(0), buffer(nullptr), errorTrap(nullptr) {
    if (text) Append(text);
}

CSTR::CSTR(int value) : length(0), buffer(nullptr), errorTrap(nullptr) { *this = value; }

CSTR::CSTR(const CSTR& other) : length(0), buffer(nullptr), errorTrap(other.errorTrap) {
    Append(other.buffer);
}

CSTR::~CSTR() { Remove(); }

CSTR& CSTR::operator=(const CSTR& other) {
    // Assigning a string to itself keeps its text; the error trap stays this object's own.
    if (&other != this) Assign(other.buffer, other.length);
    return *this;
}

CSTR& CSTR::operator=(const char* text) {
    Assign(text, text ? std::strlen(text) : 0);
    return *this;
}

CSTR& CSTR::operator=(int value) {
    Remove();
    // Characters of the decimal text: the digits, and one more for the sign of a negative.
    long long magnitude = value;
    unsigned int count = 1;
    if (magnitude < 0) {
        magnitude = -magnitude;
        ++count;
    }
    for (; magnitude >= 10; magnitude /= 10) ++count;
    buffer = AllocateText(count);
    std::snprintf(buffer, count + 1, "%d", value);
    length = count;
    return *this;
}

CSTR& CSTR::operator+=(const CSTR& other) {
    Append(other.buffer);
    return *this;
}

CSTR& CSTR::operator+=(const char* text) {
    Append(text);
    return *this;
}

const char* CSTR::Append(const char* text) {
    if (!text || !*text || text == buffer) return buffer;
    const size_t count = std::strlen(text);
    const unsigned long long newLength = static_cast<unsigned long long>(length) + count;
    char* block = AllocateText(newLength);
    // Both copies come before the old block is released: text may lie inside it.
    if (buffer) std::memcpy(block, buffer, length);
    std::memcpy(block + length, text, count);
    std::free(buffer);
    buffer = block;
    length = static_cast<unsigned int>(newLength);
    return buffer;
}

const char* CSTR::Insert(const char* text, unsigned int position) {
    if (!text || !*text || text == buffer || position >= length) return buffer;
    const size_t count = std::strlen(text);
    const unsigned long long newLength = static_cast<unsigned long long>(length) + count;
    char* block = AllocateText(newLength);
    std::memcpy(block, buffer, position);
    std::memcpy(block + position, text, count);
    std::memcpy(block + position + count, buffer + position, length - position);
    std::free(buffer);
    buffer = block;
    length = static_cast<unsigned int>(newLength);
    return buffer;
}

void CSTR::Remove() {
    std::free(buffer);
    buffer = nullptr;
    length = 0;
}

const char* CSTR::Upper() {
    for (unsigned int i = 0; i < length; ++i)
        buffer[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(buffer[i])));
    return buffer;
}

const char* CSTR::Lower() {
    for (unsigned int i = 0; i < length; ++i)
        buffer[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(buffer[i])));
    return buffer;
}

const char* CSTR::Convert(bool upper) { return upper ? Upper() : Lower(); }

const char* CSTR::Trim(const char* set) {
    TrimLeft(set);
    return TrimRight(set);
}

const char* CSTR::TrimLeft(const char* set) {
    if (!buffer) return buffer;
    unsigned int skip = 0;
    while (skip < length && IsTrim(buffer[skip], set)) ++skip;
    if (skip > 0) Assign(buffer + skip, length - skip);
    return buffer;
}

const char* CSTR::TrimRight(const char* set) {
    if (!buffer) return buffer;
    unsigned int keep = length;
    while (keep > 0 && IsTrim(buffer[keep - 1], set)) buffer[--keep] = '\0';
    if (keep < length) Assign(buffer, keep);
    return buffer;
}

const char* CSTR::String(unsigned int index) const {
    if (!buffer || index > length) return nullptr;
    return buffer + index;
}

unsigned int CSTR::Length() const { return length; }

bool CSTR::Compare(const char* text, unsigned int count) const {
    if (text == buffer) return true;
    if (!buffer || !text || !*text) return false;
    if (count == 0) count = length;
    return std::strncmp(buffer, text, count) == 0;
}

bool CSTR::operator==(const CSTR& other) const { return Compare(other.buffer, 0); }

bool CSTR::operator==(const char* text) const { return Compare(text, 0); }

long CSTR::Bit() const { return Convert(2); }
long CSTR::Oct() const { return Convert(8); }
long CSTR::Dec() const { return Convert(10); }
long CSTR::Hex() const { return Convert(16); }

long CSTR::Convert(int base) const {
    // A base strtol does not know gives 0 rather than reaching the runtime's
    // invalid-parameter handler, which may end the process.
    if (!buffer || base < 0 || base == 1 || base > 36) return 0;
    return std::strtol(buffer, nullptr, base);
}

void CSTR::RegisterErrorTrap(ErrorHandler handler) { errorTrap = handler; }

void CSTR::ErrorTrap() {
    // An allocation failure can't be reported to the caller: end the process, with a
    // failure exit code so that whoever started it sees that it did not succeed.
    std::exit(EXIT_FAILURE);
}

bool CSTR::IsTrim(char c, const char* set) const {
    if (!set) return std::isspace(static_cast<unsigned char>(c)) != 0;
    return c != '\0' && std::strchr(set, c) != nullptr;
}

void CSTR::FailAllocation() {
    if (errorTrap) errorTrap();
    ErrorTrap();
}

char* CSTR::AllocateText(unsigned long long size) {
    // The length field is 32 bits wide and the block needs one byte more for the NUL.
    if (size >= UINT_MAX) FailAllocation();
    void* block = std::calloc(static_cast<size_t>(size) + 1, 1);
    if (!block) FailAllocation();
    return static_cast<char*>(block);
}

void CSTR::Assign(const char* text, unsigned long long count) {
    if (!text || count == 0) {
        Remove();
        return;
    }
    char* block = AllocateText(count);
    std::memcpy(block, text, static_cast<size_t>(count));
    std::free(buffer);
    buffer = block;
    length = static_cast<unsigned int>(count);
}
