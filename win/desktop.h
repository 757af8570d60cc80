// The clock's life on the desktop: a taskbar button exactly while minimized,
// always on top, never maximized, the session's lock noticed; on Windows as
// Microsoft documents it, and under Wine with the extra steps Wine needs.
#pragma once

#include <windows.h>

// Once, at the window's set-up: tells Windows from Wine (ntdll exports
// wine_get_version only under Wine), notes the clock's own session and asks for
// the session's lock and unlock (WM_WTSSESSION_CHANGE, where wtsapi32 has it:
// XP on).
void StartDesktop(HWND window);
// Before the window is destroyed: no more session notices.
void EndDesktop(HWND window);

// From every tick, with GetTickCount: the session notices asked for again where
// Windows refused them, at most once a minute. Until the terminal service runs
// (a clock in the Startup folder) the request fails ("WTSRegisterSessionNotification":
// RPC_S_INVALID_BINDING), and the clock would tick while locked for the whole session.
void RetrySessionNotices(HWND window, DWORD now);

// Whether a session notice (its lParam) is about the clock's own session: on a
// terminal server other sessions' notices may reach every window that asked.
bool IsOwnSession(DWORD session);

// Whether Wine's own steps run. Set by StartDesktop; the tests switch them off
// to see the documented path by itself.
bool WineSteps();
void SetWineSteps(bool on);

// The Minimize command: hidden, without the tool style, minimized (which shows
// it with a taskbar button). The caller then has the button matched, in case a
// hook refused the minimize.
void MinimizeWithTaskbarButton(HWND window);

// Posted after the clock is minimized, restored or maximized by any means, or
// asked to minimize: a taskbar button exactly while minimized, never maximized.
void MatchTaskbarButton(HWND window);

// Whether a move of the window is the user's place for it (recorded in X, Y):
// not while minimized or maximized; under Wine, not on its way back.
bool IsPlaceToRecord(HWND window);

// A tick went by / the user moves the clock (Wine's return to place).
void NoteTick();
void NoteUserMove();

// Puts the window above all others or back among them, as OnTop says, without
// taking the focus.
void ApplyOnTop(HWND window);
