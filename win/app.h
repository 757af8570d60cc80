// Start-up.
#pragma once

#include <windows.h>

// Registers the window class "TavikApp" with MainWindowProc.
void RegisterMainClass(HINSTANCE instance);

// Start-up up to the first showing: common controls, cursors, class, message,
// settings, the hidden window sized for its monitor's DPI at its stored place
// (brought onto a monitor), its tooltip, and its set-up. The main window, or
// null if it could not be created.
HWND PrepareClock(HINSTANCE instance, HINSTANCE previous);
