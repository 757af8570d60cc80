// MainWindowProc: each message goes to a short handler below.
#include "wndproc.h"

#include "datetext.h"
#include "hands.h"
#include "render.h"
#include "resource.h"
#include "settings.h"
#include "state.h"
#include "tooltip.h"

#include <commctrl.h>
#include <string.h>

#ifndef _WIN64
static_assert(offsetof(TOOLINFOA, lParam) == 40, "TTTOOLINFOA_V1_SIZE is 40 on 32-bit Windows");
static_assert(sizeof(CHOOSECOLORA) == 36, "CHOOSECOLORA is 36 bytes on 32-bit Windows");
#else
static_assert(offsetof(TOOLINFOA, lParam) == 56, "TTTOOLINFOA_V1_SIZE is 56 on 64-bit Windows");
#endif
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is 44 bytes");

void FillToolRecord(TOOLINFOA* tool)
{
    memset(tool, 0, sizeof *tool);
    tool->cbSize = TOOLINFO_V1_SIZE;
    tool->uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
    tool->hwnd = AppState.mainWindow;
    tool->uId = (UINT_PTR)AppState.mainWindow;
    tool->hinst = AppState.hInstance;
    tool->lpszText = AppState.tooltipText;
}

static void Redraw(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
}

static void RebuildDial()
{
    DeleteDialBitmap();
    BuildDialBitmap();
}

// A tool window has no taskbar button. The frame change makes the window
// system take up the new style at once.
static void SetToolWindowStyle(bool on)
{
    LONG style = GetWindowLongA(AppState.mainWindow, GWL_EXSTYLE);
    style = on ? (style | WS_EX_TOOLWINDOW) : (style & ~WS_EX_TOOLWINDOW);
    SetWindowLongA(AppState.mainWindow, GWL_EXSTYLE, style);
    SetWindowPos(AppState.mainWindow, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Puts the window above all others or back among them, as OnTop says. Wine keeps
// a window's owned pop-ups above it by slotting the window in right below them,
// and there a window stays topmost only if the one below it is topmost as well:
// the clock, which owns its tooltip, would never become topmost. So the tooltip
// is let go while the clock is raised; it raises itself whenever it shows.
static void ApplyOnTop(HWND window)
{
    if (!AppState.settings.OnTop) {
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    SetWindowLongPtrA(AppState.tooltipWindow, GWLP_HWNDPARENT, 0);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongPtrA(AppState.tooltipWindow, GWLP_HWNDPARENT, (LONG_PTR)window);
}

static void OnSysInit(HWND window)
{
    AppState.setUpDone = 1;
    HRGN region = CreateEllipticRgn(0, 0, DIAL_SIZE, DIAL_SIZE);
    SetWindowRgn(window, region, TRUE); // the window owns the region from now on
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
        FormatTooltipDateOf(now, AppState.tooltipText);
        TOOLINFOA tool;
        FillToolRecord(&tool);
        SendMessageA(AppState.tooltipWindow, TTM_UPDATETIPTEXTA, 0, (LPARAM)&tool);
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
        SetToolWindowStyle(true);
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case IDM_MOVE:
        SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0);
        break;
    case IDM_MINIMIZE:
        SetToolWindowStyle(false); // a minimized window needs a taskbar button
        SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
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

// Every point of the window is caption, so the mouse brings WM_NCMOUSEMOVE and
// never the WM_MOUSEMOVE that the tooltip's own subclassing watches for. Hand it
// the move as the client mouse move it understands, so that resting the mouse
// on the dial shows the date.
static LRESULT OnNonClientMouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ScreenToClient(window, &point);
    MSG relayed = {};
    relayed.hwnd = window;
    relayed.message = WM_MOUSEMOVE;
    relayed.lParam = MAKELPARAM(point.x, point.y);
    relayed.time = GetMessageTime();
    relayed.pt.x = (short)LOWORD(lParam);
    relayed.pt.y = (short)HIWORD(lParam);
    SendMessageA(AppState.tooltipWindow, TTM_RELAYEVENT, 0, (LPARAM)&relayed);
    return DefWindowProcA(window, WM_NCMOUSEMOVE, wParam, lParam);
}

// Back from minimized, by the Restore command or by the taskbar button: a tool
// window again, without the taskbar button that Minimize gave it. A restore from
// the taskbar arrives while Wine handles the window manager's event, and Wine
// passes no style change on to the window manager then: the style is applied
// once more from the message queue, after the event.
static LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    bool restoring = (wParam & 0xFFF0) == SC_RESTORE && IsIconic(window);
    LRESULT result = DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
    if (restoring) {
        SetToolWindowStyle(true);
        PostMessageA(window, WM_APP_TOOL_STYLE, 0, 0);
    }
    return result;
}

static LRESULT OnNotify(HWND window, const NMHDR* header)
{
    if (header->hwndFrom != AppState.tooltipWindow || header->code != TTN_SHOW) {
        return 0;
    }
    PlaceTooltip(AppState.tooltipWindow, window);
    return TRUE; // placed here
}

static LRESULT OnSizeMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool entering = message == WM_ENTERSIZEMOVE;
    AppState.moving = entering ? 1 : 0;
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
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam, lParam);
    case WM_APP_TOOL_STYLE:
        SetToolWindowStyle(true);
        return 0;
    case WM_APP_ON_TOP:
        ApplyOnTop(window);
        return 0;
    case WM_NOTIFY:
        return OnNotify(window, (const NMHDR*)lParam);
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        return OnSizeMove(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
