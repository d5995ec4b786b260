#include "support/INIFILE.h"

#include "support/IntegerFormat.h"
#include "support/ModulePath.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned int kValueTextSize = 256;  // every value is written from a text this long
constexpr unsigned int kFontTextSize = 128;
constexpr unsigned int kModulePathSize = 1024;

// Reads up to count integers written as "n,n,...,n" (each may have leading blanks and a
// sign), stopping at the first place that holds no number or no comma where one belongs.
// Returns how many numbers were read; numbers past that are left alone.
int ScanNumberList(const char* text, long* numbers, int count) {
    const char* p = text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (*p != ',') return i;
            ++p;
        }
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p) return i;
        numbers[i] = value;
        p = end;
    }
    return count;
}

unsigned char LowByte(long value) { return static_cast<unsigned char>(value & 0xFF); }

// The integer reads: the profile's integer rule with the default, the value's low bits kept.
// Without a path or an output nothing is read.
template <typename T>
int ReadInteger(const CSTR& path, const char* section, const char* key, INT def, T* value) {
    if (path.Length() == 0 || !value) return 0;
    *value = static_cast<T>(GetPrivateProfileIntA(section, key, def, path.String(0)));
    return 1;
}

}  // namespace

INIFILE::INIFILE() = default;

INIFILE::INIFILE(const INIFILE& other) : path(other.path) {}

INIFILE& INIFILE::operator=(const INIFILE& other) {
    path = other.path;
    return *this;
}

INIFILE::~INIFILE() = default;

int INIFILE::Open(const char* newPath) {
    path = newPath;
    return path == newPath ? 1 : 0;
}

int INIFILE::OpenLocal(const char* name) {
    Close();
    char buffer[kModulePathSize] = "";
    // The folder of the program itself, not of this DLL; no path when it can't be had.
    if (!PathBesideModule(GetModuleHandleA(nullptr), name ? name : "", buffer, kModulePathSize)) return 0;
    return Open(buffer);
}

void INIFILE::Close() { path.Remove(); }

int INIFILE::Create(const char* section) {
    // A section to empty must be named: the platform may fault on a null name here.
    if (path.Length() == 0 || !section) return 0;
    return WritePrivateProfileSectionA(section, "", path.String(0)) ? 1 : 0;
}

int INIFILE::Read(const char* section, const char* key, unsigned char def, unsigned char* value) {
    return ReadInteger(path, section, key, static_cast<INT>(def), value);
}

int INIFILE::Read(const char* section, const char* key, short def, short* value) {
    return ReadInteger(path, section, key, static_cast<INT>(def), value);
}

int INIFILE::Read(const char* section, const char* key, unsigned short def, unsigned short* value) {
    return ReadInteger(path, section, key, static_cast<INT>(def), value);
}

int INIFILE::Read(const char* section, const char* key, int def, int* value) {
    return ReadInteger(path, section, key, static_cast<INT>(def), value);
}

int INIFILE::Read(const char* section, const char* key, unsigned int def, unsigned int* value) {
    return ReadInteger(path, section, key, static_cast<INT>(def), value);
}

int INIFILE::Read(const char* section, const char* key, long def, long* value) {
    return ReadInteger(path, section, key, static_cast<INT>(def), value);
}

int INIFILE::Read(const char* section, const char* key, unsigned long def, unsigned long* value) {
    return ReadInteger(path, section, key, static_cast<INT>(def), value);
}

int INIFILE::Read(const char* section, const char* key, float def, float* value) {
    double wide = 0.0;
    if (!value || !Read(section, key, static_cast<double>(def), &wide)) return 0;
    *value = static_cast<float>(wide);
    return 1;
}

int INIFILE::Read(const char* section, const char* key, double def, double* value) {
    if (path.Length() == 0 || !value) return 0;
    char text[kValueTextSize] = "";
    GetPrivateProfileStringA(section, key, "", text, kValueTextSize, path.String(0));
    *value = text[0] ? std::atof(text) : def;
    return 1;
}

int INIFILE::Read(const char* section, const char* key, const char* def, char* buffer, unsigned int size) {
    if (path.Length() == 0 || !buffer) return 0;
    GetPrivateProfileStringA(section, key, def, buffer, size, path.String(0));
    return 1;
}

int INIFILE::Read(const char* section, const char* key, RECT* rect) {
    if (path.Length() == 0 || !rect) return 0;
    char text[kValueTextSize] = "";
    GetPrivateProfileStringA(section, key, "", text, kValueTextSize, path.String(0));
    if (!text[0]) return 0;
    long numbers[4] = {rect->left, rect->top, rect->right, rect->bottom};
    ScanNumberList(text, numbers, 4);
    rect->left = numbers[0];
    rect->top = numbers[1];
    rect->right = numbers[2];
    rect->bottom = numbers[3];
    return 1;
}

int INIFILE::Read(const char* section, const char* key, LOGFONTA* font) {
    if (path.Length() == 0 || !font) return 0;
    char text[kFontTextSize] = "";
    GetPrivateProfileStringA(section, key, "", text, kFontTextSize, path.String(0));
    if (!text[0]) return 0;

    long numbers[13] = {font->lfHeight,        font->lfWidth,         font->lfEscapement,
                        font->lfOrientation,   font->lfWeight,        font->lfItalic,
                        font->lfUnderline,     font->lfStrikeOut,     font->lfCharSet,
                        font->lfOutPrecision,  font->lfClipPrecision, font->lfQuality,
                        font->lfPitchAndFamily};
    ScanNumberList(text, numbers, 13);
    font->lfHeight = numbers[0];
    font->lfWidth = numbers[1];
    font->lfEscapement = numbers[2];
    font->lfOrientation = numbers[3];
    font->lfWeight = numbers[4];
    font->lfItalic = LowByte(numbers[5]);
    font->lfUnderline = LowByte(numbers[6]);
    font->lfStrikeOut = LowByte(numbers[7]);
    font->lfCharSet = LowByte(numbers[8]);
    font->lfOutPrecision = LowByte(numbers[9]);
    font->lfClipPrecision = LowByte(numbers[10]);
    font->lfQuality = LowByte(numbers[11]);
    font->lfPitchAndFamily = LowByte(numbers[12]);

    // The face name is whatever follows the last comma; nothing there keeps the old name.
    const char* comma = std::strrchr(text, ',');
    if (comma && comma[1]) {
        size_t count = std::strlen(comma + 1);
        if (count > LF_FACESIZE - 1) count = LF_FACESIZE - 1;
        std::memcpy(font->lfFaceName, comma + 1, count);
        font->lfFaceName[count] = '\0';
    }
    return 1;
}

int INIFILE::Read(const char* section, const char* key, unsigned long* colour) {
    if (path.Length() == 0 || !colour) return 0;
    char text[kValueTextSize] = "";
    GetPrivateProfileStringA(section, key, "", text, kValueTextSize, path.String(0));
    if (!text[0]) return 0;
    long rgb[3] = {static_cast<long>(*colour & 0xFF), static_cast<long>((*colour >> 8) & 0xFF),
                   static_cast<long>((*colour >> 16) & 0xFF)};
    ScanNumberList(text, rgb, 3);
    *colour = static_cast<unsigned long>(LowByte(rgb[0])) | static_cast<unsigned long>(LowByte(rgb[1])) << 8 |
              static_cast<unsigned long>(LowByte(rgb[2])) << 16;
    return 1;
}

int INIFILE::Write(const char* section, const char* key, unsigned char value) {
    return Write(section, key, "0x%02x", static_cast<unsigned long>(value));
}

int INIFILE::Write(const char* section, const char* key, short value) {
    return Write(section, key, "%d", static_cast<unsigned long>(static_cast<long>(value)));
}

int INIFILE::Write(const char* section, const char* key, unsigned short value) {
    return Write(section, key, "0x%04x", static_cast<unsigned long>(value));
}

int INIFILE::Write(const char* section, const char* key, int value) {
    return Write(section, key, "%d", static_cast<unsigned long>(value));
}

int INIFILE::Write(const char* section, const char* key, unsigned int value) {
    return Write(section, key, "%u", static_cast<unsigned long>(value));
}

int INIFILE::Write(const char* section, const char* key, long value) {
    return Write(section, key, "%ld", static_cast<unsigned long>(value));
}

int INIFILE::Write(const char* section, const char* key, unsigned long value) {
    return Write(section, key, "0x%08x", value);
}

int INIFILE::Write(const char* section, const char* key, float value) {
    return Write(section, key, static_cast<double>(value));
}

int INIFILE::Write(const char* section, const char* key, double value) {
    if (path.Length() == 0) return 0;
    char text[kValueTextSize];
    std::snprintf(text, sizeof(text), "%lf", value);
    return Write(section, key, text);
}

int INIFILE::Write(const char* section, const char* key, const char* format, unsigned long value) {
    // The caller's format is checked before it is used: only one integer conversion gets
    // the one value passed. The text is cut at 255 characters.
    if (path.Length() == 0 || !IsIntegerFormat(format)) return 0;
    char text[kValueTextSize];
    std::snprintf(text, sizeof(text), format, value);
    return Write(section, key, text);
}

int INIFILE::Write(const char* section, const char* key, const char* text) {
    if (path.Length() == 0) return 0;
    return WritePrivateProfileStringA(section, key, text, path.String(0)) ? 1 : 0;
}

int INIFILE::Write(const char* section, const char* key, const RECT* rect) {
    if (path.Length() == 0 || !rect) return 0;
    char text[kValueTextSize];
    std::snprintf(text, sizeof(text), "%d,%d,%d,%d", static_cast<int>(rect->left), static_cast<int>(rect->top),
                  static_cast<int>(rect->right), static_cast<int>(rect->bottom));
    return Write(section, key, text);
}

int INIFILE::Write(const char* section, const char* key, const LOGFONTA* font) {
    if (path.Length() == 0 || !font) return 0;
    // The face name is read only up to its field's end, terminated or not.
    const int faceLength = static_cast<int>(strnlen(font->lfFaceName, LF_FACESIZE));
    char text[kValueTextSize];
    std::snprintf(text, sizeof(text), "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%.*s",
                  static_cast<int>(font->lfHeight), static_cast<int>(font->lfWidth),
                  static_cast<int>(font->lfEscapement), static_cast<int>(font->lfOrientation),
                  static_cast<int>(font->lfWeight), font->lfItalic, font->lfUnderline, font->lfStrikeOut,
                  font->lfCharSet, font->lfOutPrecision, font->lfClipPrecision, font->lfQuality,
                  font->lfPitchAndFamily, faceLength, font->lfFaceName);
    return Write(section, key, text);
}

int INIFILE::Write(const char* section, const char* key, const unsigned long* colour) {
    if (path.Length() == 0 || !colour) return 0;
    char text[kValueTextSize];
    std::snprintf(text, sizeof(text), "%d,%d,%d", static_cast<int>(*colour & 0xFF),
                  static_cast<int>((*colour >> 8) & 0xFF), static_cast<int>((*colour >> 16) & 0xFF));
    return Write(section, key, text);
}
