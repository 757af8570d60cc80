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

void PlaceTooltip(HWND tooltip, HWND clock)
{
    TOOLINFOA tool;
    FillToolRecord(&tool);
    LRESULT bubble = SendMessageA(tooltip, TTM_GETBUBBLESIZE, 0, (LPARAM)&tool);
    if (bubble == 0) {
        return;
    }
    // The bubble is the text with its margins; the window adds the border.
    RECT frame = {0, 0, LOWORD(bubble), HIWORD(bubble)};
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongA(tooltip, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongA(tooltip, GWL_EXSTYLE));
    SIZE tip = {frame.right - frame.left, frame.bottom - frame.top};
    RECT window;
    GetWindowRect(clock, &window);
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    RECT rect = TooltipRect(window, tip, monitor.rcWork);
    SetWindowPos(tooltip, nullptr, rect.left, rect.top, tip.cx, tip.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
