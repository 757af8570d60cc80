// The tooltip's placement.
#include "tooltip.h"

#include "state.h"
#include "wndproc.h"

#include <commctrl.h>

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
    TOOLINFOA tool;
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
