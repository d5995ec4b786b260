#include "dialog/AboutBox.h"

#include <cstdio>

#include "dialog/Win32Ver.h"

namespace {

constexpr int kTextSize = 1024;

}  // namespace

void ShowAboutBox(HWND dialog) {
    // The dialog was created from the plug-in DLL, so its instance names the DLL's file. The
    // name is taken wide: in a folder named outside the ANSI code page its 8-bit form names
    // no file, and the box would show nothing.
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    wchar_t fileName[kTextSize] = {};
    if (GetModuleFileNameW(instance, fileName, kTextSize - 1) == 0) return;

    char text[kTextSize] = {};
    {
        // The texts live in the object's version data: format them before it goes.
        WIN32VER version;
        if (!version.OpenWide(fileName)) return;
        const char* legal = version.QueryString("LegalCopyright");
        const char* number = version.QueryString("FileVersion");
        const char* description = version.QueryString("FileDescription");
        std::snprintf(text, sizeof text, "%s \r\nVersion %s\r\n\r\n%s", description, number, legal);
    }

    MessageBoxA(dialog, text, "About", kAboutBoxStyle);
}
