// Ids and resource names shared by talvoric.rc and the window code. Plain #defines so
// that the resource compiler reads this file too.
#pragma once

// Resource names.
#define RES_MAIN_MENU "MAINWINDOW_MENU"
#define RES_MAIN_ICON "MAINICON"
#define RES_BACKGROUND "APPRICATION_BACKGROUND"
#define RES_ABOUT_BOX "MAINWINDOW_ABOUTBOX"
#define RES_SETTINGS_BOX "MAINWINDOW_ESTABLISHBOX"

// Main window: the two boxes and the start button.
#define ID_OUTPUT_BOX 10001
#define ID_HISTOGRAM_BOX 10002
#define ID_START_BUTTON 10003

// Menu commands.
#define IDM_OPEN_CHARSET 1000
#define IDM_ADD_CHARSET 1100
#define IDM_EXCLUDE_CHARSET 1200
#define IDM_SELECT_TARGET 1300
#define IDM_RELEASE_TARGET 1400
#define IDM_SAVE_OUTPUT 1500
#define IDM_SAVE_CHARSET 1600
#define IDM_EXIT 1700
#define IDM_SETTINGS 2000
#define IDM_ABOUT 3000

// Settings dialog: the 94 character check boxes are 2001..2094 (see charboxes.rc).
#define IDC_FIRST_CHAR_BOX 2001
#define IDC_LAST_CHAR_BOX 2094
#define IDC_COUNT 2095
#define IDC_ENABLE_ALL 2096
#define IDC_DISABLE_ALL 2097
