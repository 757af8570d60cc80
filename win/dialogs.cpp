// The colour dialog of the colour commands and the About box.
#include "dialogs.h"

#include "state.h"

#include <string.h>

#ifndef _WIN64
static_assert(sizeof(CHOOSECOLORA) == 36, "CHOOSECOLORA is 36 bytes on 32-bit Windows");
#endif
static_assert(sizeof(ShellState::customColors) == 16 * sizeof(COLORREF),
              "the colour dialog reads and writes 16 custom colours");

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

typedef BOOL(WINAPI* ChooseColorFunction)(CHOOSECOLORA*);

// COMDLG32 is loaded when a colour is first chosen, not at start: it brings in
// several more libraries and megabytes for a dialog that is rarely opened. It
// then stays loaded for the later dialogs.
static ChooseColorFunction LoadColorDialog()
{
    HMODULE library = GetModuleHandleA("comdlg32.dll");
    if (library == nullptr) {
        library = LoadLibraryA("comdlg32.dll");
    }
    if (library == nullptr) {
        return nullptr;
    }
    return (ChooseColorFunction)(void*)GetProcAddress(library, "ChooseColorA");
}

COLORREF ChooseHandColor(COLORREF color)
{
    ChooseColorFunction chooseColor = LoadColorDialog();
    CHOOSECOLORA record;
    FillColorRecord(&record, color);
    if (chooseColor != nullptr && chooseColor(&record)) {
        return record.rgbResult;
    }
    return color; // cancelled, or no dialog to be had
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
