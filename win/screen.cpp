// Monitors, DPI and the clock's place and size on them.
#include "screen.h"

#include "dialart.h"

#include <limits.h>

UINT SaneDpi(UINT dpi)
{
    return dpi < MIN_DPI ? MIN_DPI : (dpi > MAX_DPI ? MAX_DPI : dpi);
}

int ScaleForDpi(int value, UINT dpi)
{
    return MulDiv(value, (int)dpi, (int)BASE_DPI);
}

int DialPixels(UINT dpi, const RECT& work)
{
    int size = ScaleForDpi(DIAL_SIZE, SaneDpi(dpi));
    LONG room = work.right - work.left < work.bottom - work.top ? work.right - work.left
                                                                : work.bottom - work.top;
    if (size > room) {
        size = room < DIAL_SIZE ? DIAL_SIZE : (int)room;
    }
    return size;
}

// The work area of the monitor nearest the rectangle (the primary's if none).
static RECT WorkAreaNear(const RECT& rect)
{
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
        return info.rcWork;
    }
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// shcore's GetDpiForMonitor, MDT_EFFECTIVE_DPI (0); taken by name, XP has no shcore.
typedef HRESULT(WINAPI* GetDpiForMonitorFunction)(HMONITOR, int, UINT*, UINT*);

// The DPI of the monitor that holds most of the rectangle (the nearest one if
// none does): a window's DPI is that of the monitor it mostly lies on
// ("Mixed-Mode DPI Scaling and DPI-aware APIs"). GetDpiForMonitor where Windows
// has it (8.1 on, "High DPI Desktop Application Development on Windows"), else
// the screen's LOGPIXELSY, the system DPI of Vista to 8 (96 on XP unless set).
static UINT MonitorDpi(const RECT& rect)
{
    HMODULE shcore = LoadLibraryA("shcore.dll");
    GetDpiForMonitorFunction getDpi =
        shcore ? (GetDpiForMonitorFunction)(void*)GetProcAddress(shcore, "GetDpiForMonitor")
               : nullptr;
    UINT dpiX = 0, dpiY = 0;
    if (getDpi == nullptr ||
        getDpi(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), 0, &dpiX, &dpiY) != S_OK) {
        HDC screen = GetDC(nullptr);
        dpiY = (UINT)GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (shcore != nullptr) {
        FreeLibrary(shcore);
    }
    return SaneDpi(dpiY);
}

// The square of side size at (x, y), its far edges computed in 64 bits: a
// stored corner near INT_MAX must not wrap around.
static RECT SquareAt(int x, int y, int size)
{
    long long right = (long long)x + size;
    long long bottom = (long long)y + size;
    RECT square = {x, y, right > INT_MAX ? INT_MAX : (LONG)right,
                   bottom > INT_MAX ? INT_MAX : (LONG)bottom};
    return square;
}

POINT PlaceOnScreen(int x, int y, int size)
{
    POINT place = {x, y};
    RECT square = SquareAt(x, y, size);
    if (MonitorFromRect(&square, MONITOR_DEFAULTTONULL) != nullptr) {
        return place;
    }
    RECT work = WorkAreaNear(square);
    place.x = x < work.left ? work.left : (square.right > work.right ? work.right - size : x);
    place.y = y < work.top ? work.top : (square.bottom > work.bottom ? work.bottom - size : y);
    return place;
}

RECT FitClock(POINT corner, int side, UINT* dpi)
{
    RECT square = SquareAt(corner.x, corner.y, side);
    *dpi = SaneDpi(*dpi != 0 ? *dpi : MonitorDpi(square));
    int size = DialPixels(*dpi, WorkAreaNear(square));
    POINT place = PlaceOnScreen(corner.x, corner.y, size);
    RECT rect = {place.x, place.y, place.x + size, place.y + size};
    return rect;
}
