// MainWindowProc: each message goes to a short handler below.
#include "wndproc.h"

#include "hands.h"
#include "render.h"
#include "resource.h"
#include "screen.h"
#include "settings.h"
#include "state.h"
#include "tooltip.h"

#include <commctrl.h>
#include <string.h>

#ifndef _WIN64
static_assert(sizeof(CHOOSECOLORA) == 36, "CHOOSECOLORA is 36 bytes on 32-bit Windows");
#endif
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is 44 bytes");

static void Redraw(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
}

static void RebuildDial()
{
    DeleteDialBitmap();
    BuildDialBitmap();
}

// A tool window has no taskbar button. Windows takes the button from the style
// when the window is shown ("Managing Taskbar Buttons"): the style of a shown
// window is changed while it is hidden, and it is shown again after.
static void SetToolWindowStyle(HWND window, bool on)
{
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    style = on ? (style | WS_EX_TOOLWINDOW) : (style & ~WS_EX_TOOLWINDOW);
    SetWindowLongA(window, GWL_EXSTYLE, style);
}

// Under a window manager, Wine may take for a window it restores the place the
// window manager gives it before it has placed it (the screen's corner, seen
// under IceWM on a busy machine), during the restore or just after it. A clock
// that comes back elsewhere than it stood goes back there, for three seconds
// after its return; its place is the one recorded before it was minimized.
const uint8_t RETURNING_TICKS = 15;
static void ReturnToPlace(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    if (rect.left != AppState.settings.X || rect.top != AppState.settings.Y) {
        SetWindowPos(window, nullptr, AppState.settings.X, AppState.settings.Y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A minimized clock has a taskbar button (without one Windows parks it off
// screen, and it is lost), a clock back from minimized has none, however it got
// there. Reads the state as it is now, so it is right also when posted.
static void MatchTaskbarButton(HWND window)
{
    bool iconic = IsIconic(window) != 0;
    bool tool = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    if (iconic != tool) {
        return;
    }
    ShowWindow(window, SW_HIDE);
    SetToolWindowStyle(window, !iconic);
    if (!iconic) {
        ReturnToPlace(window);
    }
    ShowWindow(window, iconic ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
    AppState.returningTicks = iconic ? 0 : RETURNING_TICKS;
    // Wine tells a window manager of a shown window's new style only when the
    // style changes: one still busy with the earlier showing may have kept the
    // old taskbar entry (seen under IceWM on a busy machine). The style is
    // changed once more, ending as it is; Windows reads it only at the showing.
    SetToolWindowStyle(window, iconic);
    SetToolWindowStyle(window, !iconic);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Minimize with a taskbar button: hidden, without the tool style, shown with
// its button, minimized. Shown before it is minimized: Wine takes the minimized
// place of a window minimized while hidden for its normal one, and a restore
// would then put it elsewhere.
static void MinimizeWithTaskbarButton(HWND window)
{
    ShowWindow(window, SW_HIDE);
    SetToolWindowStyle(window, false);
    ShowWindow(window, SW_SHOWNA);
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// Puts the window above all others or back among them, as OnTop says, without
// taking the focus. On Windows the clock's owned tooltip comes along with it.
// Wine instead slots an owner in right below its owned pop-ups, and there a
// window stays topmost only if the one below it is topmost as well: where the
// clock did not become topmost, it lets go of the tooltip for a second raise.
static void ApplyOnTop(HWND window)
{
    HWND after = AppState.settings.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(window, after, 0, 0, 0, 0, flags);
    bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (!AppState.settings.OnTop || topmost) {
        return;
    }
    SetTooltipOwner(nullptr);
    SetWindowPos(window, after, 0, 0, 0, 0, flags);
    SetTooltipOwner(window);
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
    SetDialRegion(window);
    AppState.timerId = SetTimer(window, TICK_TIMER_ID, TICK_PERIOD_MS, nullptr);
    BuildDialBitmap();
    if (AppState.settings.OnTop) {
        // Raised once the window is shown: a window manager may hold a window
        // that was mapped already "above" there for good (IceWM does), and the
        // user could then never switch it off.
        PostMessageA(window, WM_APP_ON_TOP, 0, 0);
    }
}

static void OnDestroy(HWND window)
{
    PostQuitMessage(0);
    SaveSettings(AppState.settings);
    KillTimer(window, AppState.timerId);
    DeleteDialBitmap();
}

static void OnMove(HWND window)
{
    WINDOWPLACEMENT placement;
    memset(&placement, 0, sizeof placement);
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement) || (placement.showCmd & 1) == 0) {
        return; // minimized: keep the last real position
    }
    if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0) {
        return; // its taskbar button is still there: on its way back from minimized
    }
    if (AppState.returningTicks != 0 && !AppState.moving) {
        ReturnToPlace(window);
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
    if (AppState.returningTicks != 0) {
        AppState.returningTicks--;
    }
}

static void ChooseColorCommand(HWND window, COLORREF* color)
{
    *color = ChooseHandColor(*color);
    Redraw(window);
}

static void OnCommand(HWND window, WPARAM command)
{
    switch (command) {
    case IDM_RESTORE:
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0); // the taskbar button: OnSize
        break;
    case IDM_MOVE:
        SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0);
        break;
    case IDM_MINIMIZE:
        MinimizeWithTaskbarButton(window);
        break;
    case IDM_CLOSE:
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case IDM_ONTOP:
        AppState.settings.OnTop = AppState.settings.OnTop ? 0 : 1;
        ApplyOnTop(window);
        break;
    case IDM_SHOWDATE:
        AppState.settings.ShowDate = AppState.settings.ShowDate ? 0 : 1;
        RebuildDial();
        Redraw(window);
        break;
    case IDM_ABOUT:
        DialogBoxParamA(AppState.hInstance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDialogProc,
                        0);
        break;
    case IDM_COLOR_HOURS:
        ChooseColorCommand(window, &AppState.settings.Hours);
        break;
    case IDM_COLOR_MINUTES:
        ChooseColorCommand(window, &AppState.settings.Minutes);
        break;
    case IDM_COLOR_SECONDS:
        ChooseColorCommand(window, &AppState.settings.Seconds);
        break;
    case IDM_COLOR_DATE:
        AppState.settings.Date = ChooseHandColor(AppState.settings.Date);
        if (AppState.settings.ShowDate) {
            RebuildDial();
            Redraw(window);
        }
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

// Minimized or back from it, by whatever means (the Restore command, the taskbar
// button, another program's ShowWindow): the taskbar button is matched once the
// change is done, from the message queue, never in the middle of it.
static void OnSize(HWND window, WPARAM kind)
{
    if (kind == SIZE_MINIMIZED || kind == SIZE_RESTORED) {
        PostMessageA(window, WM_APP_TASKBAR, 0, 0);
    }
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
// dial's size for the new DPI, and the dial is rebuilt at that size, once.
static void OnDpiChanged(HWND window, WPARAM dpis, const RECT* suggested)
{
    UINT dpi = SaneDpi(HIWORD(dpis));
    int size = DialPixels(dpi, WorkAreaNear(*suggested));
    POINT place = PlaceOnScreen(suggested->left, suggested->top, size);
    bool rebuild = dpi != AppState.dpi || size != AppState.dialSize;
    AppState.dpi = dpi;
    AppState.dialSize = size;
    SetWindowPos(window, nullptr, place.x, place.y, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
    if (rebuild) {
        SetDialRegion(window);
        RebuildDial();
        Redraw(window);
    }
}

static LRESULT OnSizeMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool entering = message == WM_ENTERSIZEMOVE;
    AppState.moving = entering ? 1 : 0;
    AppState.returningTicks = 0; // the user moves it: its place is where they put it
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
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        return OnSizeMove(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
