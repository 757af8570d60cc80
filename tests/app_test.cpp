// Start-up (app.cpp): WinMain sets the clock up, shows it and runs it.
#include "window_fixture.h"

#include <gtest/gtest.h>

// The real start-up, ended by a posted close: the window is set up before it is
// first shown, ticks every 200 ms, and its tooltip shows also while inactive.
static UINT TimerPeriod;
static FARPROC RealSetTimer;
static UINT_PTR WINAPI RecordingSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC proc)
{
    if (window != nullptr && window == AppState.mainWindow) {
        TimerPeriod = period;
    }
    return ((UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC))(void*)RealSetTimer)(window, id,
                                                                                     period, proc);
}

static std::string StartUpOrder; // "i" for the set-up message, "s" for the first showing
static LRESULT CALLBACK WatchStartUp(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (call->hwnd == AppState.mainWindow && call->hwnd != nullptr) {
        if (call->message == AppState.sysInitMessage) {
            StartUpOrder += "i";
        } else if (call->message == WM_SHOWWINDOW && call->wParam) {
            StartUpOrder += "s";
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

static DWORD TooltipStyle;
static void CALLBACK CloseStartedClock(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    TooltipStyle = (DWORD)GetWindowLongA(AppState.tooltipWindow, GWL_STYLE);
    PostMessageA(AppState.mainWindow, WM_CLOSE, 0, 0);
}

TEST(StartUp, WinMainSetsTheWindowUpBeforeShowingItAndEndsWithZero)
{
    RemoveProfile();
    memset(&AppState, 0, sizeof AppState);
    if (RealSetTimer == nullptr) {
        RealSetTimer = PatchImport("user32.dll", "SetTimer", (FARPROC)(void*)&RecordingSetTimer);
    }
    ASSERT_NE(RealSetTimer, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchStartUp, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, 500, CloseStartedClock);
    EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, (LPSTR) "ignored", SW_SHOWDEFAULT), 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(StartUpOrder.substr(0, 2), "is") << "set up, then shown: never square";
    EXPECT_EQ(TimerPeriod, 200u) << "a tick every 200 ms: no second skipped";
    EXPECT_NE(TooltipStyle & TTS_ALWAYSTIP, 0u) << "the tooltip shows while inactive too";
    EXPECT_FALSE(IsWindow(AppState.mainWindow));
    EXPECT_TRUE(ProfileWasWritten());
    RemoveProfile();
}
