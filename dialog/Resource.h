#pragma once
// Resource ids of vis_glowmeter.dll, shared by the resource script and the dialog code.
// Plain macros, because the resource compiler reads this file too.

#define IDD_SETTINGS 101

// Global settings.
#define IDC_AUTO_DETECT 1000
#define IDC_DETECT_STATUS 1001
#define IDC_DECAY 1002
#define IDC_DECAY_SPIN 1003

// HALOSEQ player coordination.
#define IDC_PLAYER_ENABLE 1100
#define IDC_PLAYER_WAIT 1101
#define IDC_PLAYER_WAIT_SPIN 1102

// The device slot shown.
#define IDC_DEVICE_LIST 1200
#define IDC_DEVICE_ENABLE 1201
#define IDC_DISPLAY 1202
#define IDC_DISPLAY_SPIN 1203
#define IDC_GPU 1204
#define IDC_GPU_SPIN 1205
#define IDC_ATTRIBUTE 1206
#define IDC_CHANNEL 1207

// Buttons besides Apply (IDOK, 1) and Cancel (IDCANCEL, 2).
#define IDC_ABOUT 2000

// Controls the code never addresses.
#define IDC_UNUSED 65535
