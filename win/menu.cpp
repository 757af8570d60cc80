// The context menu, built afresh for every right click.
#include "menu.h"

#include "resource.h"
#include "state.h"

static HMENU BuildColorsMenu()
{
    HMENU colors = CreatePopupMenu();
    AppendMenuA(colors, MF_STRING, IDM_COLOR_HOURS, "&Hours...");
    AppendMenuA(colors, MF_STRING, IDM_COLOR_MINUTES, "&Minutes...");
    AppendMenuA(colors, MF_STRING, IDM_COLOR_SECONDS, "&Seconds...");
    AppendMenuA(colors, MF_STRING, IDM_COLOR_DATE, "&Date...");
    return colors;
}

HMENU BuildContextMenu()
{
    HMENU colors = BuildColorsMenu();
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_RESTORE, "&Restore");
    AppendMenuA(menu, MF_STRING, IDM_MOVE, "&Move");
    AppendMenuA(menu, MF_STRING, IDM_MINIMIZE, "Mi&nimize");
    AppendMenuA(menu, MF_STRING, IDM_CLOSE, "&Close");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, AppState.settings.OnTop ? MF_CHECKED : MF_STRING, IDM_ONTOP,
                "&Always on top");
    AppendMenuA(menu, AppState.settings.ShowDate ? MF_CHECKED : MF_STRING, IDM_SHOWDATE,
                "&Show date");
    AppendMenuA(menu, MF_POPUP, (UINT_PTR)colors, "Colors");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, "About...");
    return menu;
}

void ShowContextMenu(HWND window, LPARAM lParam)
{
    HMENU menu = BuildContextMenu();
    // Signed: monitors left of or above the primary one have negative coordinates.
    int x = (short)LOWORD(lParam);
    int y = (short)HIWORD(lParam);
    AppState.menuOpen = TRUE;
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
    AppState.menuOpen = FALSE;
    DestroyMenu(menu); // destroys the Colors submenu with it
}
