#include "settings/AboutBox.h"

#include <cstdio>

#include "settings/Win32Ver.h"

namespace {

constexpr int kTextSize = 1024;

}  // namespace

void ShowAboutBox(HWND dialog) {
    // The dialog was created from the plug-in DLL, so its instance names the DLL's file.
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    char text[kTextSize] = {};
    if (GetModuleFileNameA(instance, text, kTextSize - 1) == 0) return;

    {
        // The texts live in the object's version data: format them before it goes.
        WIN32VER version;
        if (!version.Open(text)) return;
        const char* legal = version.QueryString("LegalCopyright");
        const char* number = version.QueryString("FileVersion");
        const char* description = version.QueryString("FileDescription");
        std::snprintf(text, sizeof text, "%s \r\nVersion %s\r\n\r\n%s", description, number, legal);
    }

    MessageBoxA(dialog, text, "About", kAboutBoxStyle);
}
