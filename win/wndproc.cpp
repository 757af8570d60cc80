// MainWindowProc: each message goes to a short handler below.
#include "wndproc.h"

#include "desktop.h"
#include "dialogs.h"
#include "hands.h"
#include "menu.h"
#include "render.h"
#include "resource.h"
#include "screen.h"
#include "settings.h"
#include "state.h"
#include "tooltip.h"

#include <commctrl.h>

const UINT TICK_PERIOD_MS = 200;

#ifndef WM_DPICHANGED
const UINT WM_DPICHANGED = 0x02E0; // Windows 8.1 on
#endif
#ifndef WM_WTSSESSION_CHANGE
const UINT WM_WTSSESSION_CHANGE = 0x02B1; // XP on
const WPARAM WTS_SESSION_LOCK = 0x7;
const WPARAM WTS_SESSION_UNLOCK = 0x8;
#endif

// The session is locked: nobody sees the clock.
static bool SessionLocked;

static void Redraw(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
}

static void RebuildDial()
{
    DeleteDialBitmap();
    BuildDialBitmap();
}

// Cuts the window to the dial's circle; the window owns the region from then on.
static void SetDialRegion(HWND window)
{
    HRGN region = CreateEllipticRgn(0, 0, AppState.dialSize, AppState.dialSize);
    SetWindowRgn(window, region, TRUE);
}

static void OnSysInit(HWND window)
{
    AppState.setUpDone = 1;
    StartDesktop(window);
    SetDialRegion(window);
    AppState.timerId = SetTimer(window, TICK_TIMER_ID, TICK_PERIOD_MS, nullptr);
    BuildDialBitmap();
    RaiseOnceShown(window);
}

static void OnDestroy(HWND window)
{
    EndDesktop(window);
    ReleaseTooltipFont();
    PostQuitMessage(0);
    SaveSettings(AppState.settings);
    KillTimer(window, AppState.timerId);
    DeleteDialBitmap();
}

// Records the window's place, when it is the user's: never a minimized or a
// maximized one (a maximized clock would save the screen's corner).
static void OnMove(HWND window)
{
    if (!IsPlaceToRecord(window)) {
        return;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    AppState.settings.X = rect.left;
    AppState.settings.Y = rect.top;
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintCurrentTime(dc);
    EndPaint(window, &paint);
}

static void OnSetCursor()
{
    if (AppState.menuOpen) {
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); // IDC_ARROW
    } else if (AppState.moving) {
        SetCursor(AppState.cursorGrab);
    } else {
        SetCursor(AppState.cursorOpen);
    }
}

static bool IsNewDate(const SYSTEMTIME& now, const SYSTEMTIME& last)
{
    return now.wDay != last.wDay || now.wMonth != last.wMonth || now.wYear != last.wYear;
}

void HandleTick(HWND window, const SYSTEMTIME& now)
{
    if (now.wSecond == AppState.lastDrawn.wSecond) {
        return;
    }
    if (IsNewDate(now, AppState.lastDrawn)) {
        // The tooltip always names today; the dial's label only while it is shown.
        if (AppState.settings.ShowDate) {
            DeleteDialBitmap();
            BuildDialBitmapOn(now);
        }
        UpdateTooltipDate(now);
    }
    AppState.lastDrawn = now;
    HDC dc = GetDC(window);
    DrawHands(dc, now);
    ReleaseDC(window, dc);
}

static void OnTimer(HWND window)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    HandleTick(window, now);
    RetrySessionNotices(window, GetTickCount());
}

// The clock takes the rectangle FitClock gives it for the square of side side at
// corner, at dpi (0: its monitor's); where its DPI or size changed, its region,
// dial and tooltip font follow, once.
static void FitWindow(HWND window, POINT corner, int side, UINT dpi)
{
    RECT fit = FitClock(corner, side, &dpi);
    int size = fit.right - fit.left;
    bool changed = dpi != AppState.dpi || size != AppState.dialSize;
    AppState.dpi = dpi;
    AppState.dialSize = size;
    RECT rect;
    GetWindowRect(window, &rect);
    if (!EqualRect(&rect, &fit)) {
        SetWindowPos(window, nullptr, fit.left, fit.top, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (changed) {
        SetDialRegion(window);
        RebuildDial();
        SetTooltipFont(dpi);
        Redraw(window);
    }
}

// Seen again (restored, the session unlocked): Windows may have changed the
// monitor's scale meanwhile and told a minimized clock nothing it could use
// (see OnDpiChanged), so the clock takes the DPI of the monitor it is on.
static void FitToMonitor(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    POINT corner = {rect.left, rect.top};
    FitWindow(window, corner, AppState.dialSize, 0);
}

// The tick runs while the clock can be seen: not while it is minimized, nor
// while the session is locked. Seen again, it is fitted to its monitor and ticks
// at once: the time drawn, a new date noticed.
static void MatchTicking(HWND window)
{
    bool wanted = AppState.setUpDone && !IsIconic(window) && !SessionLocked;
    if (wanted && AppState.timerId == 0) {
        AppState.timerId = SetTimer(window, TICK_TIMER_ID, TICK_PERIOD_MS, nullptr);
        FitToMonitor(window);
        OnTimer(window);
    } else if (!wanted && AppState.timerId != 0) {
        KillTimer(window, AppState.timerId);
        AppState.timerId = 0;
    }
}

// Only the clock's own session's lock stops it ("WM_WTSSESSION_CHANGE": lParam
// names the session the change is about).
static void OnSessionChange(HWND window, WPARAM change, LPARAM session)
{
    if ((change == WTS_SESSION_LOCK || change == WTS_SESSION_UNLOCK) &&
        IsOwnSession((DWORD)session)) {
        SessionLocked = change == WTS_SESSION_LOCK;
        MatchTicking(window);
    }
}

// The menu's commands, one handler each; OnCommand saves after every one.
static void OnMinimizeCommand(HWND window)
{
    MinimizeWithTaskbarButton(window);
    // A hook may refuse the minimize: no WM_SIZE then, and the match shows the
    // clock again as it was.
    PostMessageA(window, WM_APP_TASKBAR, 0, 0);
}

static void OnTopCommand(HWND window)
{
    AppState.settings.OnTop = AppState.settings.OnTop ? 0 : 1;
    ApplyOnTop(window);
}

static void OnShowDateCommand(HWND window)
{
    AppState.settings.ShowDate = AppState.settings.ShowDate ? 0 : 1;
    RebuildDial();
    Redraw(window);
}

static void OnAboutCommand(HWND window)
{
    DialogBoxParamA(AppState.hInstance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDialogProc, 0);
}

static void OnHandColorCommand(HWND window, COLORREF* color)
{
    *color = ChooseHandColor(*color);
    Redraw(window);
}

// The label is part of the dial: rebuilt while it is shown.
static void OnDateColorCommand(HWND window)
{
    AppState.settings.Date = ChooseHandColor(AppState.settings.Date);
    if (AppState.settings.ShowDate) {
        RebuildDial();
        Redraw(window);
    }
}

// Restore, Move and Close are the system's own commands (Restore: the taskbar
// button goes in OnSize).
static void OnCommand(HWND window, WPARAM command)
{
    switch (command) {
    case IDM_RESTORE:
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case IDM_MOVE:
        SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0);
        break;
    case IDM_MINIMIZE:
        OnMinimizeCommand(window);
        break;
    case IDM_CLOSE:
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case IDM_ONTOP:
        OnTopCommand(window);
        break;
    case IDM_SHOWDATE:
        OnShowDateCommand(window);
        break;
    case IDM_ABOUT:
        OnAboutCommand(window);
        break;
    case IDM_COLOR_HOURS:
        OnHandColorCommand(window, &AppState.settings.Hours);
        break;
    case IDM_COLOR_MINUTES:
        OnHandColorCommand(window, &AppState.settings.Minutes);
        break;
    case IDM_COLOR_SECONDS:
        OnHandColorCommand(window, &AppState.settings.Seconds);
        break;
    case IDM_COLOR_DATE:
        OnDateColorCommand(window);
        break;
    default:
        break;
    }
    SaveSettings(AppState.settings);
}

// Resting the mouse on the dial shows the date: the tooltip is handed the moves.
static LRESULT OnNonClientMouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    RelayMouseMoveToTooltip(window, lParam);
    return DefWindowProcA(window, WM_NCMOUSEMOVE, wParam, lParam);
}

// Minimized, maximized or back from either, by whatever means (the commands,
// the taskbar button, another program's ShowWindow, a window manager): the
// taskbar button is matched once the change is done, from the message queue,
// never in the middle of it; the tick follows at once.
static void OnSize(HWND window, WPARAM kind)
{
    if (kind == SIZE_MINIMIZED || kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) {
        PostMessageA(window, WM_APP_TASKBAR, 0, 0);
    }
    MatchTicking(window);
}

static LRESULT OnNotify(HWND window, const NMHDR* header)
{
    if (header->hwndFrom != AppState.tooltipWindow || header->code != TTN_SHOW) {
        return 0;
    }
    return PlaceTooltip(AppState.tooltipWindow, window) ? TRUE : 0; // 0: the control places it
}

// Moved onto a monitor of another scale (per monitor awareness, "WM_DPICHANGED"):
// the window takes the suggested rectangle, kept whole on screen and at the
// dial's size for the new DPI, and the dial is rebuilt at that size, once. A
// minimized clock is parked off screen, and the rectangle is the parked one:
// it changes nothing until it is seen again (FitToMonitor).
static void OnDpiChanged(HWND window, WPARAM dpis, const RECT* suggested)
{
    if (IsIconic(window)) {
        return;
    }
    POINT corner = {suggested->left, suggested->top};
    FitWindow(window, corner, suggested->right - suggested->left, SaneDpi(HIWORD(dpis)));
}

static LRESULT OnSizeMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool entering = message == WM_ENTERSIZEMOVE;
    AppState.moving = entering ? 1 : 0;
    if (entering) {
        EndReturnToPlace();
    }
    SetCursor(entering ? AppState.cursorGrab : AppState.cursorOpen);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == AppState.sysInitMessage && !AppState.setUpDone) {
        OnSysInit(window);
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_MOVE:
        OnMove(window);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_QUERYENDSESSION:
        SaveSettings(AppState.settings);
        return 1;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        OnSetCursor();
        return 1;
    case WM_NCHITTEST:
        return HTCAPTION;
    case WM_NCRBUTTONDOWN:
        ShowContextMenu(window, lParam);
        return 0;
    case WM_COMMAND:
        OnCommand(window, wParam);
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_NCMOUSEMOVE:
        return OnNonClientMouseMove(window, wParam, lParam);
    case WM_SIZE:
        OnSize(window, wParam);
        return 0;
    case WM_APP_TASKBAR:
        MatchTaskbarButton(window);
        return 0;
    case WM_APP_ON_TOP:
        ApplyOnTop(window);
        return 0;
    case WM_NOTIFY:
        return OnNotify(window, (const NMHDR*)lParam);
    case WM_DPICHANGED:
        OnDpiChanged(window, wParam, (const RECT*)lParam);
        return 0;
    case WM_WTSSESSION_CHANGE:
        OnSessionChange(window, wParam, lParam);
        return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        return OnSizeMove(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
