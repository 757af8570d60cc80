// The date tooltip: its window and tool record, its text, the mouse moves it is
// handed, and where it shows.
#include "tooltip.h"

#include "datetext.h"
#include "state.h"

#include <stddef.h>
#include <string.h>

// The tool record's first version ends with lpszText: it has no lParam.
const UINT TOOLINFO_V1_SIZE = (UINT)offsetof(TOOLINFOW, lParam);
#ifndef _WIN64
static_assert(TOOLINFO_V1_SIZE == 40, "TTTOOLINFOW_V1_SIZE is 40 on 32-bit Windows");
#else
static_assert(TOOLINFO_V1_SIZE == 56, "TTTOOLINFOW_V1_SIZE is 56 on 64-bit Windows");
#endif

// The font the tooltip is given, made for the clock's DPI; deleted once the
// tooltip has the next one, or the clock is gone.
static HFONT TooltipFont;

void FillToolRecord(TOOLINFOW* tool)
{
    memset(tool, 0, sizeof *tool);
    tool->cbSize = TOOLINFO_V1_SIZE;
    tool->uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
    tool->hwnd = AppState.mainWindow;
    tool->uId = (UINT_PTR)AppState.mainWindow;
    tool->hinst = AppState.hInstance;
    tool->lpszText = AppState.tooltipText;
}

// The text is wide from the date formatter to the screen: a long date in any
// language shows whatever the system's ANSI code page.
void CreateTooltip()
{
    AppState.tooltipWindow =
        CreateWindowExA(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        AppState.mainWindow, nullptr, AppState.hInstance, nullptr);
    SetTooltipFont(AppState.dpi);
    FormatTooltipDate(AppState.tooltipText);
    TOOLINFOW tool;
    FillToolRecord(&tool);
    SendMessageA(AppState.tooltipWindow, TTM_ADDTOOLW, 0, (LPARAM)&tool);
}

// NONCLIENTMETRICSW as Windows 10 has it, with iPaddedBorderWidth, which XP's
// headers leave out: the size SystemParametersInfoForDpi takes.
struct NonClientMetricsForDpi {
    NONCLIENTMETRICSW metrics;
    int paddedBorderWidth;
};
typedef BOOL(WINAPI* ParametersForDpiFunction)(UINT, UINT, void*, UINT, UINT);

// The status and tooltip font at dpi: SystemParametersInfoForDpi where Windows
// has it (10 1607 on, taken by name), else the system's metrics, which are for
// the system DPI, scaled from it to dpi.
static LOGFONTW StatusFontAt(UINT dpi)
{
    ParametersForDpiFunction forDpi = (ParametersForDpiFunction)(void*)GetProcAddress(
        GetModuleHandleA("user32.dll"), "SystemParametersInfoForDpi");
    NonClientMetricsForDpi full = {};
    full.metrics.cbSize = sizeof full;
    if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof full, &full, 0, dpi)) {
        return full.metrics.lfStatusFont;
    }
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics; // XP's size, which every later Windows takes too
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC screen = GetDC(nullptr);
    int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (systemDpi > 0) {
        metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, (int)dpi, systemDpi);
    }
    return metrics.lfStatusFont;
}

// Common controls 5 take their font from the system DPI alone ("High DPI Desktop
// Application Development on Windows"): on a monitor of another scale the long
// date would show at the primary monitor's size.
void SetTooltipFont(UINT dpi)
{
    LOGFONTW font = StatusFontAt(dpi);
    HFONT made = CreateFontIndirectW(&font);
    if (made == nullptr) {
        return; // the tooltip keeps the font it has
    }
    SendMessageA(AppState.tooltipWindow, WM_SETFONT, (WPARAM)made, FALSE);
    ReleaseTooltipFont();
    TooltipFont = made;
}

void ReleaseTooltipFont()
{
    if (TooltipFont != nullptr) {
        DeleteObject(TooltipFont);
        TooltipFont = nullptr;
    }
}

void UpdateTooltipDate(const SYSTEMTIME& localTime)
{
    FormatTooltipDateOf(localTime, AppState.tooltipText);
    TOOLINFOW tool;
    FillToolRecord(&tool);
    SendMessageA(AppState.tooltipWindow, TTM_UPDATETIPTEXTW, 0, (LPARAM)&tool);
}

// Every point of the clock is caption, so the mouse brings WM_NCMOUSEMOVE and
// never the WM_MOUSEMOVE that the tooltip's own subclassing watches for.
void RelayMouseMoveToTooltip(HWND clock, LPARAM screenPoint)
{
    POINT point = {(short)LOWORD(screenPoint), (short)HIWORD(screenPoint)};
    ScreenToClient(clock, &point);
    MSG relayed = {};
    relayed.hwnd = clock;
    relayed.message = WM_MOUSEMOVE;
    relayed.lParam = MAKELPARAM(point.x, point.y);
    relayed.time = GetMessageTime();
    relayed.pt.x = (short)LOWORD(screenPoint);
    relayed.pt.y = (short)HIWORD(screenPoint);
    SendMessageA(AppState.tooltipWindow, TTM_RELAYEVENT, 0, (LPARAM)&relayed);
}

static LONG Clamp(LONG value, LONG low, LONG high)
{
    if (value > high) {
        value = high;
    }
    return value < low ? low : value;
}

RECT TooltipRect(const RECT& clock, SIZE tip, const RECT& work)
{
    LONG left = clock.left + (clock.right - clock.left - tip.cx) / 2;
    LONG top = clock.bottom + 2;
    if (top + tip.cy > work.bottom) {
        top = clock.top - 2 - tip.cy;
    }
    left = Clamp(left, work.left, work.right - tip.cx);
    top = Clamp(top, work.top, work.bottom - tip.cy);
    RECT rect = {left, top, left + tip.cx, top + tip.cy};
    return rect;
}

// The larger of two sizes, side by side.
static SIZE Larger(SIZE a, SIZE b)
{
    SIZE size = {a.cx > b.cx ? a.cx : b.cx, a.cy > b.cy ? a.cy : b.cy};
    return size;
}

bool PlaceTooltip(HWND tooltip, HWND clock)
{
    // What the control made the window, grown where needed to hold the whole
    // text: the bubble (text and margins, from Vista on; XP answers 0) with the
    // window's border. Wine makes the window only as wide as the screen's edge allows.
    RECT given;
    GetWindowRect(tooltip, &given);
    SIZE tip = {given.right - given.left, given.bottom - given.top};
    TOOLINFOW tool;
    FillToolRecord(&tool);
    LRESULT bubble = SendMessageA(tooltip, TTM_GETBUBBLESIZE, 0, (LPARAM)&tool);
    if (bubble != 0) {
        RECT frame = {0, 0, LOWORD(bubble), HIWORD(bubble)};
        AdjustWindowRectEx(&frame, (DWORD)GetWindowLongA(tooltip, GWL_STYLE), FALSE,
                           (DWORD)GetWindowLongA(tooltip, GWL_EXSTYLE));
        SIZE text = {frame.right - frame.left, frame.bottom - frame.top};
        tip = Larger(tip, text);
    }
    RECT window;
    GetWindowRect(clock, &window);
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    if (tip.cx <= 0 || tip.cy <= 0 ||
        !GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return false;
    }
    RECT rect = TooltipRect(window, tip, monitor.rcWork);
    SetWindowPos(tooltip, nullptr, rect.left, rect.top, tip.cx, tip.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void SetTooltipOwner(HWND owner)
{
    SetWindowLongPtrA(AppState.tooltipWindow, GWLP_HWNDPARENT, (LONG_PTR)owner);
}
