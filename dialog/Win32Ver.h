#pragma once
// Reads the version resource of a file: its data block, its first translation and the
// strings of that translation.
#include <windows.h>

class WIN32VER {
public:
    WIN32VER();
    virtual ~WIN32VER();
    WIN32VER(const WIN32VER&) = delete;
    WIN32VER& operator=(const WIN32VER&) = delete;

    // 1 when the file's version data and its first translation were read, else 0. Whatever
    // was allocated before a failure stays with the object until the next Open or the end.
    int Open(const char* fileName);
    // The same for a wide file name, which may hold letters outside the ANSI code page (the
    // plug-in's folder is wherever Winamp is). The name copy kept is its ANSI form.
    int OpenWide(const wchar_t* fileName);
    // The value of one "StringFileInfo" entry of the stored translation: "(error)" when the
    // entry is missing, "(null)" when it is empty. Valid until the next Open or the end.
    const char* QueryString(const char* name);

    void* versionData;   // the file's version data (owned), or null
    WORD language;       // first translation: language ...
    WORD codePage;       // ... and code page
    char* fileName;      // copy of the file's name (owned), or null

private:
    void Release();
    // Steps of both opens once the data block is read: its first translation.
    int TakeTranslation();

    int opened;  // 1 only after a successful Open: a failed one may leave a block half read
};
