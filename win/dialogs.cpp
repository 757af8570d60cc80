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

// SetThreadDpiAwarenessContext, Windows 10 1607 on, taken by name; the context
// DPI_AWARENESS_CONTEXT_SYSTEM_AWARE.
typedef HANDLE(WINAPI* SetThreadContextFunction)(HANDLE);
static const HANDLE SYSTEM_AWARE_CONTEXT = (HANDLE)(LONG_PTR)-2;

// The system's colour dialog does not scale on a monitor whose DPI is not the
// system's under per-monitor awareness: it runs system-aware, which Windows
// scales as a whole, and the thread's context is restored right after.
COLORREF ChooseHandColor(COLORREF color)
{
    ChooseColorFunction chooseColor = LoadColorDialog();
    CHOOSECOLORA record;
    FillColorRecord(&record, color);
    SetThreadContextFunction setContext = (SetThreadContextFunction)(void*)GetProcAddress(
        GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext");
    HANDLE previous = setContext != nullptr ? setContext(SYSTEM_AWARE_CONTEXT) : nullptr;
    bool chosen = chooseColor != nullptr && chooseColor(&record);
    if (previous != nullptr) {
        setContext(previous);
    }
    return chosen ? record.rgbResult : color; // cancelled, or no dialog to be had
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
