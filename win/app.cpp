// WinMain: prepare, create the hidden window and its tooltip, set it up, show it,
// and run the message loop until the quit message.
#include "app.h"

#include "hands.h"
#include "resource.h"
#include "settings.h"
#include "state.h"
#include "tooltip.h"
#include "wndproc.h"

#include <limits.h>

static const char CLASS_NAME[] = "TavikApp";

POINT PlaceOnScreen(int x, int y)
{
    POINT place = {x, y};
    // Computed in 64 bits: a stored corner near INT_MAX must not wrap around.
    long long right = (long long)x + DIAL_SIZE;
    long long bottom = (long long)y + DIAL_SIZE;
    RECT square = {x, y, right > INT_MAX ? INT_MAX : (LONG)right,
                   bottom > INT_MAX ? INT_MAX : (LONG)bottom};
    if (MonitorFromRect(&square, MONITOR_DEFAULTTONULL) != nullptr) {
        return place;
    }
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&square, MONITOR_DEFAULTTONEAREST), &info)) {
        return place;
    }
    const RECT& work = info.rcWork;
    place.x = x < work.left ? work.left : (right > work.right ? work.right - DIAL_SIZE : x);
    place.y = y < work.top ? work.top : (bottom > work.bottom ? work.bottom - DIAL_SIZE : y);
    return place;
}

void RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = (HBRUSH)GetStockObject(DKGRAY_BRUSH);
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassA(&windowClass);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int showCommand)
{
    InitCommonControls();
    AppState.cursorOpen = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HAND_OPEN));
    AppState.cursorGrab = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HAND_GRAB));
    if (previous == nullptr) {
        RegisterMainClass(instance);
    }
    AppState.hInstance = instance;
    AppState.sysInitMessage = RegisterWindowMessageA("WM_SYSINIT");
    AppState.settings = LoadSettings();

    // A clock stored off every monitor could never be reached again: it has no
    // frame and no taskbar button. Bring it back onto the nearest one.
    POINT place = PlaceOnScreen(AppState.settings.X, AppState.settings.Y);
    AppState.settings.X = place.x;
    AppState.settings.Y = place.y;
    AppState.mainWindow =
        CreateWindowExA(WS_EX_TOOLWINDOW, CLASS_NAME, "Tavik", WS_POPUP, place.x, place.y,
                        DIAL_SIZE, DIAL_SIZE, nullptr, nullptr, instance, nullptr);
    if (AppState.mainWindow == nullptr) {
        return 0;
    }
    CreateTooltip();
    SendMessageA(AppState.mainWindow, AppState.sysInitMessage, 0, 0);
    ShowWindow(AppState.mainWindow, showCommand);
    UpdateWindow(AppState.mainWindow);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
