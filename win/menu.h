// The context menu, built afresh for every right click.
#pragma once

#include <windows.h>

// Builds, tracks and destroys the context menu at the screen point in lParam.
void ShowContextMenu(HWND window, LPARAM lParam);

// Fills the menu that ShowContextMenu tracks (main menu and Colors submenu).
HMENU BuildContextMenu();
