// A test fixture that starts the real main window with WinMain's own start-up,
// without the message loop, and helpers to look at what it saved, drew and ran.
#pragma once

#include "app.h"
#include "render.h"
#include "resource.h"
#include "settings.h"
#include "state.h"
#include "test_support.h"
#include "tooltip.h"
#include "desktop.h"
#include "dialogs.h"
#include "menu.h"
#include "save_counter.h"
#include "wndproc.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

// The file exists and holds all eight keys.
inline bool ProfileWasWritten()
{
    FlushProfileCache();
    if (GetFileAttributesA(ProfilePath().c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    char text[64];
    const char* keys[][2] = {{"Position", "X"},        {"Position", "Y"},   {"Position", "OnTop"},
                             {"Position", "ShowDate"}, {"Colors", "Hours"}, {"Colors", "Minutes"},
                             {"Colors", "Seconds"},    {"Colors", "Date"}};
    for (const auto& key : keys) {
        if (GetPrivateProfileStringA(key[0], key[1], "?", text, sizeof text, PROFILE_FILE_NAME) ==
                1 &&
            text[0] == '?') {
            return false;
        }
    }
    return true;
}

// Start-up as WinMain does it, without the message loop; the clock at 100, 120.
class Window : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        InitCommonControls();
        RegisterMainClass(GetModuleHandleA(nullptr));
    }

    void SetUp() override
    {
        RemoveProfile();
        memset(&AppState, 0, sizeof AppState);
        ASSERT_NE(PrepareClock(GetModuleHandleA(nullptr), nullptr), nullptr);
        window = AppState.mainWindow;
        ShowWindow(window, SW_SHOWNORMAL);
        SetWindowPos(window, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_EQ(AppState.settings.X, 100);
        ASSERT_EQ(AppState.settings.Y, 120);
    }

    void TearDown() override
    {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        RemoveProfile();
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageA(window, message, wParam, lParam);
    }

    // Runs what was posted to the thread.
    void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }

    std::wstring TooltipText()
    {
        wchar_t text[TOOLTIP_TEXT_SIZE + 16] = L"";
        TOOLINFOW tool;
        FillToolRecord(&tool);
        tool.lpszText = text;
        SendMessageW(AppState.tooltipWindow, TTM_GETTEXTW, TOOLTIP_TEXT_SIZE + 16, (LPARAM)&tool);
        return text;
    }

    HWND window = nullptr;
};

// Whether a tick comes within tries x 10 ms: the timer runs.
inline bool TickWithin(int tries)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    for (int i = 0; i < tries; i++) {
        if (PeekMessageA(&message, AppState.mainWindow, WM_TIMER, WM_TIMER, PM_NOREMOVE)) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

// Windows refuses the session notices until its terminal service runs; other
// sessions' notices may reach the clock too. The program's GetProcAddress and
// GetTickCount, seen through these, hand it a refusing registration and a time.
inline FARPROC RealGetProcAddress;
inline FARPROC RealGetTickCount;
inline int RegisterCalls = -1; // -1: the real registration
inline int Refusals;
inline bool HideForDpi; // no SystemParametersInfoForDpi, as before Windows 10
inline DWORD TestTicks; // 0: the real time
inline BOOL WINAPI RefusingRegister(HWND, DWORD)
{
    RegisterCalls++;
    SetLastError(RPC_S_INVALID_BINDING);
    return Refusals-- > 0 ? FALSE : TRUE;
}
inline FARPROC WINAPI TestGetProcAddress(HMODULE module, LPCSTR name)
{
    bool named = (ULONG_PTR)name > 0xFFFF;
    if (named && RegisterCalls >= 0 && strcmp(name, "WTSRegisterSessionNotification") == 0) {
        return (FARPROC)(void*)RefusingRegister;
    }
    if (named && HideForDpi && strcmp(name, "SystemParametersInfoForDpi") == 0) {
        return nullptr;
    }
    return ((FARPROC(WINAPI*)(HMODULE, LPCSTR))(void*)RealGetProcAddress)(module, name);
}
inline DWORD WINAPI TestGetTickCount()
{
    return TestTicks != 0 ? TestTicks : ((DWORD(WINAPI*)())(void*)RealGetTickCount)();
}
inline void SeeSystemCalls()
{
    if (RealGetProcAddress == nullptr) {
        RealGetProcAddress =
            PatchImport("kernel32.dll", "GetProcAddress", (FARPROC)(void*)&TestGetProcAddress);
        RealGetTickCount =
            PatchImport("kernel32.dll", "GetTickCount", (FARPROC)(void*)&TestGetTickCount);
    }
    ASSERT_NE(RealGetProcAddress, nullptr);
    ASSERT_NE(RealGetTickCount, nullptr);
}

// The thread's DPI awareness where Windows has per-thread contexts (10 1607 on):
// 0 unaware, 1 system, 2 per monitor; -1 without them.
inline int ThreadAwareness()
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto context = (HANDLE(WINAPI*)())(void*)GetProcAddress(user32, "GetThreadDpiAwarenessContext");
    auto awareness =
        (int(WINAPI*)(HANDLE))(void*)GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext");
    return context != nullptr && awareness != nullptr ? awareness(context()) : -1;
}

// Closes the first window of the thread's modal loop that has the given class,
// noting the thread's DPI awareness while it is open.
inline HWND ModalToClose;
inline UINT CloseCommand;
inline int ModalAwareness;
inline void CALLBACK CloseModal(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA("#32770", nullptr);
    if (dialog != nullptr && IsWindowVisible(dialog)) {
        ModalToClose = dialog;
        ModalAwareness = ThreadAwareness();
        PostMessageA(dialog, WM_COMMAND, CloseCommand, 0);
        KillTimer(nullptr, timer);
    }
}

// Sends a menu command whose modal dialog a timer closes with closeCommand.
// Returns the dialog that was closed, or null if none opened.
inline HWND SendClosingModal(HWND window, WPARAM command, UINT closeCommand)
{
    RemoveProfile();
    ModalToClose = nullptr;
    CloseCommand = closeCommand;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseModal);
    SendMessageA(window, WM_COMMAND, command, 0);
    KillTimer(nullptr, timer);
    return ModalToClose;
}

// A bitmap's pixels, 0x00RRGGBB, rows top down; its width in *width.
inline std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int* width)
{
    BITMAP header = {};
    GetObjectA(bitmap, sizeof header, &header);
    *width = header.bmWidth;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = header.bmWidth;
    info.bmiHeader.biHeight = -header.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels((size_t)header.bmWidth * header.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, (UINT)header.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    return pixels;
}

// The red date label on the dial: Arial's digits, 8 points at dpi, below the
// centre as at 100 %.
inline void ExpectLabelAtDpi(UINT dpi, int size)
{
    int width = 0;
    std::vector<uint32_t> dial = BitmapPixels(AppState.dialBitmap, &width);
    int top = size, bottom = -1;
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            uint32_t pixel = dial[y * width + x];
            if ((pixel >> 16) > 200 && (pixel >> 8 & 255) < 60 && (pixel & 255) < 60) {
                top = y < top ? y : top;
                bottom = y;
            }
        }
    }
    int em = MulDiv(8, (int)dpi, 72);
    EXPECT_GE(top, MulDiv(35, size, 64) - 1);
    // Large sizes hint and smooth more rows in proportion (seen: 41 at 53 pixels).
    EXPECT_NEAR(bottom - top + 1, em * 0.72, fmax(0.75, 0.08 * em))
        << "Arial's digits at " << em << " pixels";
}
