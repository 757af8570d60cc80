// The colour dialog of the colour commands and the About box.
#include "wndproc.h"

#include "state.h"

#include <string.h>

void FillColorRecord(CHOOSECOLORA* record, COLORREF color)
{
    memset(record, 0, sizeof *record);
    record->lStructSize = sizeof *record;
    record->hwndOwner = AppState.mainWindow;
    record->hInstance = (HWND)AppState.hInstance;
    record->rgbResult = color;
    record->lpCustColors = AppState.customColors;
    record->Flags = CC_RGBINIT | CC_FULLOPEN;
}

COLORREF ChooseHandColor(COLORREF color)
{
    CHOOSECOLORA record;
    FillColorRecord(&record, color);
    if (ChooseColorA(&record)) {
        return record.rgbResult;
    }
    return color;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        EndDialog(dialog, 1); // OK, Enter, Escape and the close box alike
        return TRUE;
    default:
        return FALSE;
    }
}
