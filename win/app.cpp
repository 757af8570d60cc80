// WinMain: prepare, create the hidden window and its tooltip, set it up, show it,
// and run the message loop until the quit message.
#include "app.h"

#include "screen.h"
#include "dialart.h"
#include "resource.h"
#include "settings.h"
#include "state.h"
#include "tooltip.h"
#include "wndproc.h"

static const char CLASS_NAME[] = "TavikApp";

// An image of the resources at the size the system asks for (metric: SM_CXICON,
// SM_CXCURSOR): drawn at 32 (96 DPI), 48 and 64 pixels, the largest that is not
// larger; shared, so the system frees it.
static HANDLE LoadImageAtSystemSize(HINSTANCE instance, const int ids[3], UINT type, int metric)
{
    int wanted = GetSystemMetrics(metric);
    int index = wanted >= 64 ? 2 : (wanted >= 48 ? 1 : 0);
    int size = 32 + 16 * index;
    return LoadImageA(instance, MAKEINTRESOURCEA(ids[index]), type, size, size, LR_SHARED);
}

static const int APP_ICONS[3] = {IDI_APP, IDI_APP_48, IDI_APP_64};
static const int OPEN_HANDS[3] = {IDC_HAND_OPEN, IDC_HAND_OPEN_48, IDC_HAND_OPEN_64};
static const int GRABBING_HANDS[3] = {IDC_HAND_GRAB, IDC_HAND_GRAB_48, IDC_HAND_GRAB_64};

void RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = (HICON)LoadImageAtSystemSize(instance, APP_ICONS, IMAGE_ICON, SM_CXICON);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = (HBRUSH)GetStockObject(DKGRAY_BRUSH);
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassA(&windowClass);
}

// Sized for the monitor that holds most of it. A clock stored off every monitor
// could never be reached again: it has no frame and no taskbar button. It is
// brought back onto the nearest one.
void SizeClock(POINT corner, UINT dpi)
{
    RECT place = FitClock(corner, DIAL_SIZE, &dpi);
    AppState.dpi = dpi;
    AppState.dialSize = place.right - place.left;
    AppState.settings.X = place.left;
    AppState.settings.Y = place.top;
}

HWND PrepareClock(HINSTANCE instance, HINSTANCE previous)
{
    InitCommonControls();
    AppState.cursorOpen =
        (HCURSOR)LoadImageAtSystemSize(instance, OPEN_HANDS, IMAGE_CURSOR, SM_CXCURSOR);
    AppState.cursorGrab =
        (HCURSOR)LoadImageAtSystemSize(instance, GRABBING_HANDS, IMAGE_CURSOR, SM_CXCURSOR);
    if (previous == nullptr) {
        RegisterMainClass(instance);
    }
    AppState.hInstance = instance;
    AppState.sysInitMessage = RegisterWindowMessageA("WM_SYSINIT");
    AppState.settings = LoadSettings();

    POINT stored = {AppState.settings.X, AppState.settings.Y};
    SizeClock(stored, 0);
    AppState.mainWindow = CreateWindowExA(
        WS_EX_TOOLWINDOW, CLASS_NAME, "Tavik", WS_POPUP, AppState.settings.X, AppState.settings.Y,
        AppState.dialSize, AppState.dialSize, nullptr, nullptr, instance, nullptr);
    if (AppState.mainWindow == nullptr) {
        return nullptr;
    }
    CreateTooltip();
    SendMessageA(AppState.mainWindow, AppState.sysInitMessage, 0, 0);
    return AppState.mainWindow;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int showCommand)
{
    HWND window = PrepareClock(instance, previous);
    if (window == nullptr) {
        return 0;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
