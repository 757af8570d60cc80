// Start-up.
#pragma once

#include <windows.h>

// Registers the window class "TavikApp" with MainWindowProc.
void RegisterMainClass(HINSTANCE instance);

// The clock's DPI and size for the 100 % clock's square at corner, at dpi (0: the
// DPI of the monitor that holds most of it), and its place (X, Y) where FitClock
// puts it: start-up's sizing, which drawing tests and tools use too.
void SizeClock(POINT corner, UINT dpi);

// Start-up up to the first showing: common controls, cursors, class, message,
// settings, the hidden window sized for its monitor's DPI at its stored place
// (brought onto a monitor), its tooltip, and its set-up. The main window, or
// null if it could not be created.
HWND PrepareClock(HINSTANCE instance, HINSTANCE previous);
