// Resource identifiers, shared by tavik.rc and the code.
#pragma once

#define IDI_APP 1
#define IDC_HAND_OPEN 1
#define IDC_HAND_GRAB 2
#define IDB_DIAL_NUMERALS 2
#define IDB_DIAL_PLAIN 3
#define IDD_ABOUT 2

// Controls of the About box. Only the button is ever addressed.
#define IDC_ABOUT_PRODUCT 102
#define IDC_ABOUT_ICON 103
#define IDC_ABOUT_CREDIT 104
