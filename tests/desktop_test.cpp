// The clock on the desktop (desktop.cpp): the taskbar button exactly while
// minimized, never maximized, and the session's lock and its notices.
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <wtsapi32.h>

// What the window had at each of its showings: whether it was a tool window
// (Windows takes the taskbar button from the style then), and whether a frame
// change came after the showing.
static std::string Showings;
static LRESULT CALLBACK WatchShowings(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (call->hwnd == AppState.mainWindow && call->message == WM_WINDOWPOSCHANGING) {
        const WINDOWPOS* change = (const WINDOWPOS*)call->lParam;
        if (change->flags & SWP_SHOWWINDOW) {
            Showings += (GetWindowLongA(call->hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? "T" : "B";
        } else if (change->flags & SWP_FRAMECHANGED) {
            Showings += "f";
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

static LRESULT CALLBACK RefuseMinimize(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

static std::string StateOf(HWND window)
{
    bool tool = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    return std::string(IsIconic(window)   ? "minimized"
                       : IsZoomed(window) ? "maximized"
                                          : "normal") +
           (IsWindowVisible(window) ? ", shown" : ", hidden") + (tool ? ", no button" : ", button");
}

// Where the fixture put it, whole, and that place the one recorded.
static bool WhereItStood(HWND window)
{
    RECT rect, stood = {100, 120, 100 + AppState.dialSize, 120 + AppState.dialSize};
    GetWindowRect(window, &rect);
    return EqualRect(&rect, &stood) && AppState.settings.X == 100 && AppState.settings.Y == 120;
}

// Back from minimized: by the menu's Restore, the taskbar button, another program.
enum WayBack { RESTORE_COMMAND, TASKBAR_BUTTON, OTHER_PROGRAM };
static void BringBack(HWND window, WayBack way)
{
    AppState.lastDrawn.wSecond = 61; // no second: the next tick draws
    if (way == RESTORE_COMMAND) {
        SendMessageA(window, WM_COMMAND, IDM_RESTORE, 0);
    } else if (way == TASKBAR_BUTTON) {
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else {
        ShowWindow(window, SW_RESTORE);
    }
}

// Minimized and back, by every way there is: a taskbar button exactly while
// minimized, from the style the window has when it is shown; no tick while
// nobody sees it, and one at once when it is seen again. First the path that
// Microsoft documents by itself, then with Wine's steps.
TEST_F(Window, EveryWayBackFromMinimizedTakesTheTaskbarButtonAway)
{
    const bool wine = WineSteps();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchShowings, nullptr, GetCurrentThreadId());
    for (bool wineSteps : {false, wine}) {
        SetWineSteps(wineSteps);
        for (WayBack way : {RESTORE_COMMAND, TASKBAR_BUTTON, OTHER_PROGRAM}) {
            Showings.clear();
            Send(WM_COMMAND, IDM_MINIMIZE);
            Pump();
            EXPECT_EQ(StateOf(window), "minimized, shown, button") << way;
            EXPECT_EQ(Showings.substr(0, 1), "B") << "shown with its button: " << Showings;
            EXPECT_FALSE(TickWithin(50)) << "minimized: no tick";
            // A move while minimized keeps the last real position.
            Send(WM_MOVE, 0, MAKELPARAM(3000, 3000));
            EXPECT_EQ(AppState.settings.X, 100);
            EXPECT_EQ(AppState.settings.Y, 120);

            Showings.clear();
            BringBack(window, way);
            Pump();
            EXPECT_EQ(StateOf(window), "normal, shown, no button") << way;
            EXPECT_NE(Showings.find('T'), std::string::npos) << way << ": " << Showings;
            EXPECT_EQ(Showings.find('B'), std::string::npos) << way << ": " << Showings;
            // Wine's second style change ends in a frame change after the showing.
            EXPECT_EQ(Showings.find("Tf") != std::string::npos, wineSteps) << Showings;
            EXPECT_NE(AppState.lastDrawn.wSecond, 61) << "a tick at once, as it is seen again";
            EXPECT_TRUE(TickWithin(500));
            EXPECT_TRUE(WhereItStood(window)) << way;
        }
    }
    UnhookWindowsHookEx(hook);
    SetWineSteps(wine);
    EXPECT_TRUE(ProfileWasWritten());
}

// Minimized by another program: a taskbar button all the same, never a
// minimized tool window. A minimize a hook refuses: as it was, without a
// button. Maximized at start (a shortcut's "Run: Maximized") or later (another
// program, a window manager): shown normal at its size and place, and that place
// is what a save writes.
TEST_F(Window, NeverAMinimizedToolWindowNorAMaximizedClock)
{
    const bool wine = WineSteps();
    for (bool wineSteps : {false, wine}) {
        SetWineSteps(wineSteps);
        ShowWindow(window, SW_MINIMIZE);
        Pump();
        EXPECT_EQ(StateOf(window), "minimized, shown, button");
        BringBack(window, OTHER_PROGRAM);
        Pump();
        HHOOK refuse = SetWindowsHookExA(WH_CBT, RefuseMinimize, nullptr, GetCurrentThreadId());
        Send(WM_COMMAND, IDM_MINIMIZE);
        Pump();
        UnhookWindowsHookEx(refuse);
        EXPECT_EQ(StateOf(window), "normal, shown, no button");
        ShowWindow(window, SW_SHOWMAXIMIZED);
        EXPECT_EQ(AppState.settings.X, 100) << "a maximized place is never recorded";
        Pump();
        EXPECT_EQ(StateOf(window), "normal, shown, no button");
        EXPECT_TRUE(WhereItStood(window));
    }
    SetWineSteps(wine);
}

// Wine's return to place: a clock just back that something moves elsewhere (in
// one coordinate or both) goes back, whole, where it stood; moves while its
// button is still on are not its place; after the return's three seconds, a
// move stays.
TEST_F(Window, UnderWineAClockJustBackReturnsToItsPlace)
{
    const bool wine = WineSteps();
    SeeSystemCalls();
    TestTicks = GetTickCount();
    SetWineSteps(true);
    Send(WM_COMMAND, IDM_MINIMIZE);
    Pump();
    ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(AppState.settings.X, 100) << "a move with the button still on is not recorded";
    Pump();
    for (POINT move : {POINT{7, 9}, POINT{7, 120}, POINT{100, 9}}) {
        EXPECT_TRUE(WhereItStood(window)) << "back where it stood, whole";
        SetWindowPos(window, nullptr, move.x, move.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EXPECT_TRUE(WhereItStood(window));
    TestTicks += 3000;
    SetWindowPos(window, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(AppState.settings.X, 7) << "three seconds later a move is the clock's place";
    EXPECT_EQ(AppState.settings.Y, 9);
    TestTicks = 0;
    SetWineSteps(wine);
}

// Locked, the clock does not tick; unlocked, it ticks at once and on. Only its own
// session's notices count. Notices refused at start are asked for again from the
// tick, once a minute (across GetTickCount's wrap), until Windows takes them.
TEST_F(Window, OnlyItsOwnSessionsLockStopsTheTick)
{
    DWORD own = 0;
    ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &own));
    const struct {
        WPARAM change;
        DWORD session;
        bool ticks;
    } notices[] = {
        {WTS_SESSION_LOCK, own + 7, true},    // another user locks: ticking on
        {WTS_SESSION_LOCK, own, false},       // its own lock
        {WTS_SESSION_UNLOCK, own + 7, false}, // another user's unlock: still locked
        {WTS_SESSION_LOGON, own, false},      // not an unlock
        {WTS_SESSION_UNLOCK, own, true},
    };
    for (const auto& notice : notices) {
        AppState.lastDrawn.wSecond = 61;
        Send(WM_WTSSESSION_CHANGE, notice.change, notice.session);
        EXPECT_EQ(TickWithin(notice.ticks ? 500 : 50), notice.ticks)
            << notice.change << " of session " << notice.session;
    }
    EXPECT_NE(AppState.lastDrawn.wSecond, 61) << "a tick at once, as it is seen again";

    SeeSystemCalls();
    RegisterCalls = 0;
    Refusals = 2;
    const DWORD start = 0xFFFF0000u;
    TestTicks = start;
    EndDesktop(window);
    StartDesktop(window);
    const struct {
        DWORD after;
        int calls;
    } tries[] = {{30000, 1}, {60000, 2}, {62000, 2}, {119999, 2}, {120000, 3}, {999000, 3}};
    for (const auto& retry : tries) {
        TestTicks = start + retry.after;
        Send(WM_TIMER, TICK_TIMER_ID);
        EXPECT_EQ(RegisterCalls, retry.calls) << retry.after << " ms after the start";
    }
    TestTicks = 0;
    RegisterCalls = -1;
}
