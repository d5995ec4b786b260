#pragma once
// The settings dialog (dialog resource 101): edits the working copy of the settings, one
// device slot at a time, and can scan for lights as it opens.
#include <windows.h>
#include "dialog/Resource.h"

constexpr int kSettingsDialogId = IDD_SETTINGS;

// Opens on the working copy, which the caller fills with the settings to edit (Config: the
// live settings, freshly reloaded); ends the dialog with 1 for Apply (the working copy then
// holds the edits) and 0 for Cancel.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
