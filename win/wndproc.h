// The main window's procedure: the dispatch, the tick and the commands.
#pragma once

#include <windows.h>

const UINT_PTR TICK_TIMER_ID = 12345;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The timer's work for a tick at the given local time.
void HandleTick(HWND window, const SYSTEMTIME& now);
