// The least a Wine clock can do, as a yardstick for the running Tavik: a 64 x 64
// pop-up, a 200 ms timer, and on every new second one BitBlt of a bitmap it
// keeps. Nothing else: no region, no tooltip, no dial, no hands. With PERIOD 0
// it has no timer at all: a Wine program that only waits (the idle floor).
//   minclock X Y [PERIOD]
#include <windows.h>

#include <stdlib.h>

static HBITMAP Face;
static WORD LastSecond = 0xFFFF;

static void OnTimer(HWND window)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond == LastSecond) {
        return;
    }
    LastSecond = now.wSecond;
    HDC dc = GetDC(window);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, Face);
    BitBlt(dc, 0, 0, 64, 64, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    ReleaseDC(window, dc);
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int x = __argc > 2 ? atoi(__argv[1]) : 0;
    int y = __argc > 2 ? atoi(__argv[2]) : 0;
    int period = __argc > 3 ? atoi(__argv[3]) : 200;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "MinimalClock";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "MinimalClock", "Minimal clock", WS_POPUP, x, y,
                                  64, 64, nullptr, nullptr, instance, nullptr);
    HDC screen = GetDC(nullptr);
    Face = CreateCompatibleBitmap(screen, 64, 64);
    ReleaseDC(nullptr, screen);
    if (period > 0) {
        SetTimer(window, 1, period, nullptr);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        DispatchMessageA(&message);
    }
    DeleteObject(Face);
    return 0;
}
