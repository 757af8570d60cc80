// Start-up.
#pragma once

#include <windows.h>

// Where the 64 x 64 window goes for a stored top-left corner: unchanged when any
// part of the square lies on a monitor, else inside the nearest monitor's work area.
POINT PlaceOnScreen(int x, int y);

// Registers the window class "TavikApp" with MainWindowProc.
void RegisterMainClass(HINSTANCE instance);
