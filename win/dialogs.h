// The colour dialog of the colour commands and the About box.
#pragma once

#include <windows.h>

#include <commdlg.h>

// The colour dialog for one colour; the chosen colour, or the one passed in.
COLORREF ChooseHandColor(COLORREF color);

// Fills a CHOOSECOLORA record for ChooseHandColor.
void FillColorRecord(CHOOSECOLORA* record, COLORREF color);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
