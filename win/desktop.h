// The clock's life on the desktop: a taskbar button exactly while minimized,
// always on top, never maximized, the session's lock noticed; on Windows as
// Microsoft documents it, and under Wine with the extra steps Wine needs.
#pragma once

#include <windows.h>

// Posted to the clock: match the taskbar button to minimized or not
// (MatchTaskbarButton); raise it as OnTop says (ApplyOnTop).
const UINT WM_APP_TASKBAR = WM_APP;
const UINT WM_APP_ON_TOP = WM_APP + 1;

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

// The user starts moving the clock: under Wine the return to its place after a
// restore ends (IsPlaceToRecord), its place is where the user puts it.
void EndReturnToPlace();

// At the set-up: the clock is raised as OnTop says once it is shown (posted).
void RaiseOnceShown(HWND window);

// Puts the window above all others or back among them, as OnTop says, without
// taking the focus.
void ApplyOnTop(HWND window);
