// Resource identifiers, shared by tavik.rc and the code.
#pragma once

#define IDI_APP 1
#define IDC_HAND_OPEN 1
#define IDC_HAND_GRAB 2
#define IDB_DIAL_NUMERALS 2
#define IDB_DIAL_PLAIN 3
#define IDD_ABOUT 2
// The icon and the cursors drawn at 48 and 64 pixels, for scaled displays.
#define IDI_APP_48 2
#define IDI_APP_64 3
#define IDC_HAND_OPEN_48 3
#define IDC_HAND_OPEN_64 4
#define IDC_HAND_GRAB_48 5
#define IDC_HAND_GRAB_64 6

// The context menu's commands.
#define IDM_RESTORE 100
#define IDM_MOVE 101
#define IDM_MINIMIZE 102
#define IDM_CLOSE 103
#define IDM_ONTOP 104
#define IDM_SHOWDATE 105
#define IDM_ABOUT 106
#define IDM_COLOR_HOURS 200
#define IDM_COLOR_MINUTES 201
#define IDM_COLOR_SECONDS 202
#define IDM_COLOR_DATE 203

// Controls of the About box. Only the button is ever addressed.
#define IDC_ABOUT_PRODUCT 102
#define IDC_ABOUT_ICON 103
#define IDC_ABOUT_CREDIT 104
