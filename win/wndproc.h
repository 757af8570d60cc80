// The main window's procedure, its context menu and the dialogs of its commands.
#pragma once

#include <windows.h>

#include <commdlg.h>

#ifndef WM_DPICHANGED
const UINT WM_DPICHANGED = 0x02E0; // Windows 8.1 on
#endif

const UINT_PTR TICK_TIMER_ID = 12345;
const UINT TICK_PERIOD_MS = 200;

// Posted to itself when minimized or restored: a taskbar button only while minimized.
const UINT WM_APP_TASKBAR = WM_APP;
// Posted to itself by the set-up: raise the shown window when OnTop is set.
const UINT WM_APP_ON_TOP = WM_APP + 1;

enum MenuCommand {
    IDM_RESTORE = 100,
    IDM_MOVE = 101,
    IDM_MINIMIZE = 102,
    IDM_CLOSE = 103,
    IDM_ONTOP = 104,
    IDM_SHOWDATE = 105,
    IDM_ABOUT = 106,
    IDM_COLOR_HOURS = 200,
    IDM_COLOR_MINUTES = 201,
    IDM_COLOR_SECONDS = 202,
    IDM_COLOR_DATE = 203,
};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The timer's work for a tick at the given local time.
void HandleTick(HWND window, const SYSTEMTIME& now);

// Builds, tracks and destroys the context menu at the screen point in lParam.
void ShowContextMenu(HWND window, LPARAM lParam);

// Fills the menu that ShowContextMenu tracks (main menu and Colors submenu).
HMENU BuildContextMenu();

// The colour dialog for one colour; the chosen colour, or the one passed in.
COLORREF ChooseHandColor(COLORREF color);

// Fills a CHOOSECOLORA record for ChooseHandColor.
void FillColorRecord(CHOOSECOLORA* record, COLORREF color);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
