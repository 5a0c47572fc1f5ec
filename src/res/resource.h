#pragma once
// Resource ids of the utility. Dialog, control and string ids are the ones
// the program and its users have always had.

#define IDR_MAINFRAME 128

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_SLOTS 102
#define IDD_MISC 103
#define IDD_BRIDGES 104
#define IDD_MINIPORTS 105
#define IDD_VARDEK 131
#define IDD_MORAVIK 132
#define IDD_DEVRES 133

// Strings
#define IDS_ABOUTBOX 101
#define IDS_SHEET_CAPTION 103
#define IDS_CANNOT_OPEN_DRIVER 4001
#define IDS_CANNOT_UPDATE_DRIVER 4003
#define IDS_CONFIRM_UPDATE 4005
#define IDS_RELOAD_BUTTON 4010
#define IDS_CONFIRM_RELOAD 4011
#define IDS_NO_CONVERSIONS 4023
#define IDS_INVALID_VENDOR_ID 4030
#define IDS_INVALID_DEVICE_ID 4031
#define IDS_INVALID_SUBSYSTEM_VENDOR_ID 4032
#define IDS_INVALID_SUBSYSTEM_ID 4033
#define IDS_INVALID_REQUIREMENT 4034
#define IDS_NO_REQUIREMENT 4035
#define IDS_MINIPORTS_TOO_LONG 4060

// Controls of the sheet
#define IDC_RELOAD 4008
#define IDC_ABOUT_ICON 1050
#define IDC_ABOUT_TEXT 1051

// System menu
#define IDM_ABOUTBOX 0x0010
