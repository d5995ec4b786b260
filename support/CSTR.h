#pragma once
// The support library's string class: one exact-size heap buffer holding a NUL-terminated
// 8-bit text, with its length. Exported from vis_glowmeter.dll for other programs.
#include "support/Export.h"

class GLOWMETER_API CSTR {
public:
    typedef void (*ErrorHandler)();

    CSTR(const char* text = nullptr);
    CSTR(int value);
    CSTR(const CSTR& other);
    virtual ~CSTR();

    CSTR& operator=(const CSTR& other);
    CSTR& operator=(const char* text);
    CSTR& operator=(int value);
    CSTR& operator+=(const CSTR& other);
    CSTR& operator+=(const char* text);

    const char* Append(const char* text);
    const char* Insert(const char* text, unsigned int position);
    void Remove();
    const char* Upper();
    const char* Lower();
    const char* Convert(bool upper);
    const char* Trim(const char* set);
    const char* TrimLeft(const char* set);
    const char* TrimRight(const char* set);

    const char* String(unsigned int index) const;
    unsigned int Length() const;
    bool Compare(const char* text, unsigned int count) const;
    bool operator==(const CSTR& other) const;
    bool operator==(const char* text) const;

    long Bit() const;
    long Oct() const;
    long Dec() const;
    long Hex() const;
    long Convert(int base) const;

    void RegisterErrorTrap(ErrorHandler handler);

private:
    [[noreturn]] static void ErrorTrap();
    bool IsTrim(char c, const char* set) const;
    // Calls the handler recorded by RegisterErrorTrap, if any, then ErrorTrap.
    [[noreturn]] void FailAllocation();
    // A zero-filled block of size + 1 bytes for a text of size characters; never returns
    // null: a failed allocation, or a size the 32-bit length can't hold, ends in the trap.
    char* AllocateText(unsigned long long size);
    // Replaces the text by count characters from text, which may point into the current
    // buffer: the new block is filled before the old one is released.
    void Assign(const char* text, unsigned long long count);

    unsigned int length;
    char* buffer;
    ErrorHandler errorTrap;
};
