// The window shell's one process-wide record.
#pragma once

#include "datetext.h"
#include "settings.h"

#include <windows.h>

#include <stdint.h>

const int CUSTOM_COLOR_COUNT = 16;

struct ShellState {
    HINSTANCE hInstance;
    HWND mainWindow;
    HWND tooltipWindow;
    DialSettings settings;
    HBITMAP dialBitmap;                     // never a deleted handle: whoever deletes it clears it
    UINT dpi;                               // of the monitor the clock is on
    int dialSize;                           // the window's side: 64 at 96 DPI
    wchar_t tooltipText[TOOLTIP_TEXT_SIZE]; // wide: the long date in any language
    UINT sysInitMessage;
    HCURSOR cursorOpen;
    HCURSOR cursorGrab;
    UINT_PTR timerId;
    BOOL menuOpen;
    uint8_t moving;
    SYSTEMTIME lastDrawn;
    COLORREF customColors[CUSTOM_COLOR_COUNT];
    // The window's set-up has run. It runs once, even if "WM_SYSINIT" could not be
    // registered and the message number is 0 (WM_NULL).
    uint8_t setUpDone;
};

// Zero-initialised at process start.
extern ShellState AppState;
