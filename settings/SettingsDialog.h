#pragma once
// The settings dialog (dialog resource 101): edits the working copy of the settings.
#include <windows.h>

constexpr int kSettingsDialogId = 101;

// Ends the dialog with 1 for Apply and 0 for Cancel.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
