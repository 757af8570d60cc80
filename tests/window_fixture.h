// A test fixture that starts the real main window with WinMain's own start-up,
// without the message loop, and helpers to look at what it saved.
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
#include "wndproc.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <string.h>

#include <string>

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
