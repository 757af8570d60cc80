// The real window class and window, driven with messages in this process.
#include "app.h"
#include "dialart.h"
#include "gdi_count.h"
#include "profile_records.h"
#include "render.h"
#include "resource.h"
#include "screen.h"
#include "settings.h"
#include "state.h"
#include "save_counter.h"
#include "test_support.h"
#include "tooltip.h"
#include "window_fixture.h"
#include "wndproc.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <wtsapi32.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

TEST_F(Window, SetUpCutsTheWindowToACircleStartsTheTimerAndBuildsTheDial)
{
    // The tooltip holds today's long date from the start, whole.
    wchar_t today[TOOLTIP_TEXT_SIZE], tomorrow[TOOLTIP_TEXT_SIZE];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, today, TOOLTIP_TEXT_SIZE);
    std::wstring text = TooltipText();
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, tomorrow,
                   TOOLTIP_TEXT_SIZE);
    EXPECT_TRUE(text == today || text == tomorrow) << "just past midnight, either";

    EXPECT_EQ(AppState.timerId, TICK_TIMER_ID);
    EXPECT_NE(AppState.dialBitmap, nullptr);
    RECT box;
    EXPECT_EQ(GetWindowRgnBox(window, &box), COMPLEXREGION);
    EXPECT_GE(box.right - box.left, 63);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, region);
    EXPECT_TRUE(PtInRegion(region, 32, 32));
    EXPECT_FALSE(PtInRegion(region, 1, 1)) << "the corners are cut away";
    DeleteObject(region);

    // The message again sets up nothing a second time.
    HBITMAP first = AppState.dialBitmap;
    Send(AppState.sysInitMessage);
    EXPECT_EQ(AppState.dialBitmap, first);
}

TEST_F(Window, SetUpRunsOnceEvenWhenTheMessageCouldNotBeRegistered)
{
    DestroyWindow(window);
    memset(&AppState, 0, sizeof AppState);
    AppState.hInstance = GetModuleHandleA(nullptr);
    AppState.sysInitMessage = 0; // the registration failed: WM_NULL
    AppState.dpi = 96;
    AppState.dialSize = 64;
    window = CreateWindowExA(WS_EX_TOOLWINDOW, "TavikApp", "Tavik", WS_POPUP, 0, 0, 64, 64, nullptr,
                             nullptr, AppState.hInstance, nullptr);
    AppState.mainWindow = window;
    Send(WM_NULL);
    HBITMAP first = AppState.dialBitmap;
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(AppState.timerId, TICK_TIMER_ID);
    for (int i = 0; i < 5; i++) {
        Send(WM_NULL);
    }
    EXPECT_EQ(AppState.dialBitmap, first) << "no second dial bitmap, no leak";
}

TEST_F(Window, TickDrawsOncePerSecond)
{
    // Right after start lastDrawn is all zero: a tick in second 0 draws nothing.
    HandleTick(window, MakeTime(2026, 12, 8, 10, 0, 0));
    EXPECT_EQ(AppState.lastDrawn.wDay, 0);
    HandleTick(window, MakeTime(2026, 12, 8, 10, 0, 1));
    EXPECT_EQ(AppState.lastDrawn.wSecond, 1);
    EXPECT_EQ(AppState.lastDrawn.wDay, 8);
    // The same second again: nothing, even if the minute differs.
    HandleTick(window, MakeTime(2026, 12, 8, 10, 5, 1));
    EXPECT_EQ(AppState.lastDrawn.wMinute, 0);
    HandleTick(window, MakeTime(2026, 12, 8, 10, 5, 2));
    EXPECT_EQ(AppState.lastDrawn.wMinute, 5);
    EXPECT_EQ(Send(WM_TIMER, TICK_TIMER_ID), 0);
}

TEST_F(Window, ANewDateRefreshesTheTooltipAndTheLabelWhileShown)
{
    HandleTick(window, MakeTime(2026, 12, 8, 23, 59, 59));
    std::wstring december = TooltipText();
    EXPECT_NE(december.find(L"2026"), std::wstring::npos);

    // Label hidden: the bitmap stays, the tooltip follows the date all the same.
    HBITMAP dial = AppState.dialBitmap;
    HandleTick(window, MakeTime(2027, 1, 1, 0, 0, 1));
    EXPECT_EQ(AppState.dialBitmap, dial);
    std::wstring january = TooltipText();
    EXPECT_NE(january, december);
    EXPECT_NE(january.find(L"2027"), std::wstring::npos);

    // Label shown: a new day rebuilds the dial.
    Send(WM_COMMAND, IDM_SHOWDATE);
    ASSERT_EQ(AppState.settings.ShowDate, 1);
    dial = AppState.dialBitmap;
    HandleTick(window, MakeTime(2027, 1, 1, 0, 0, 2));
    EXPECT_EQ(AppState.dialBitmap, dial) << "same date: nothing rebuilt";
    HandleTick(window, MakeTime(2027, 1, 2, 0, 0, 3));
    EXPECT_NE(AppState.dialBitmap, nullptr);
    dial = AppState.dialBitmap;

    // A month later on the same day number is a new date too.
    HandleTick(window, MakeTime(2027, 2, 2, 0, 0, 4));
    EXPECT_NE(AppState.dialBitmap, dial);
    EXPECT_NE(TooltipText().find(L"2027"), std::wstring::npos);
    EXPECT_NE(TooltipText(), january);
}

// CTest runs this once per locale of a table, each in a process of its own with
// LANG set and TAVIK_LOCALE naming the locale: the long date comes whole, in the
// user's own language, whatever the ANSI code page can hold.
TEST_F(Window, TheTooltipShowsTheLongDateInTheUsersLanguage)
{
    const char* locale = getenv("TAVIK_LOCALE");
    if (locale != nullptr) {
        wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
        LCIDToLocaleName(GetUserDefaultLCID(), name, LOCALE_NAME_MAX_LENGTH, 0);
        ASSERT_EQ(std::wstring(name), std::wstring(locale, locale + strlen(locale)));
    }
    SYSTEMTIME date = MakeTime(2026, 12, 9, 12, 0, 1);
    HandleTick(window, date);
    wchar_t expected[TOOLTIP_TEXT_SIZE];
    ASSERT_NE(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, expected,
                             TOOLTIP_TEXT_SIZE),
              0);
    EXPECT_EQ(TooltipText(), std::wstring(expected));
    EXPECT_EQ(TooltipText().find(L'?'), std::wstring::npos);
}

TEST_F(Window, FixedResultsOfTheMessageTable)
{
    EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(132, 152)), HTCAPTION);
    EXPECT_EQ(Send(WM_ERASEBKGND, (WPARAM)GetDC(window)), 1);
    EXPECT_EQ(Send(WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(Send(WM_QUERYENDSESSION), 1);
    EXPECT_TRUE(ProfileWasWritten()) << "the session-end query saves";
}

static struct {
    bool seen;
    bool arrow; // the cursor rule gave the arrow while the menu was open
    LONG left;
    LONG top;
} OpenMenu;

static void CALLBACK InspectOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu)) {
        return;
    }
    KillTimer(nullptr, timer);
    SendMessageA(AppState.mainWindow, WM_SETCURSOR, (WPARAM)AppState.mainWindow,
                 MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    OpenMenu.seen = true;
    OpenMenu.arrow = GetCursor() == LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    RECT rect;
    GetWindowRect(menu, &rect);
    OpenMenu.left = rect.left;
    OpenMenu.top = rect.top;
    EndMenu();
}

TEST_F(Window, CursorRule)
{
    Send(WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), AppState.cursorOpen);
    AppState.moving = 1;
    Send(WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), AppState.cursorGrab);
    AppState.menuOpen = TRUE;
    Send(WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    AppState.menuOpen = FALSE;
    AppState.moving = 0;
    Send(WM_ENTERSIZEMOVE);
    EXPECT_EQ(AppState.moving, 1);
    EXPECT_EQ(GetCursor(), AppState.cursorGrab);
    Send(WM_EXITSIZEMOVE);
    EXPECT_EQ(AppState.moving, 0);
    EXPECT_EQ(GetCursor(), AppState.cursorOpen);

    // The real menu, right-clicked left of and above the screen: the arrow while
    // it is open, at the click (pulled onto the screen, not thrown to its far
    // right or bottom), and the open hand again once it has closed.
    UINT_PTR timer = SetTimer(nullptr, 0, 100, InspectOpenMenu);
    OpenMenu = {};
    ShowContextMenu(window, MAKELPARAM(-50, -40));
    KillTimer(nullptr, timer);
    ASSERT_TRUE(OpenMenu.seen) << "the menu opened";
    EXPECT_TRUE(OpenMenu.arrow);
    EXPECT_LT(OpenMenu.left, 100) << "x = -50 is left of the screen, not 65486";
    EXPECT_LT(OpenMenu.top, 100) << "y = -40 is above the screen, not 65496";
    EXPECT_FALSE(AppState.menuOpen);
    Send(WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), AppState.cursorOpen);
}

TEST_F(Window, SwitchCommandsToggleAndSave)
{
    const struct {
        WPARAM command;
        uint8_t* field;
    } rows[] = {{IDM_ONTOP, &AppState.settings.OnTop}, {IDM_SHOWDATE, &AppState.settings.ShowDate}};
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 300, 300, 40, 40,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    for (const auto& row : rows) {
        for (int expected : {1, 0}) {
            RemoveProfile();
            HBITMAP dial = AppState.dialBitmap;
            EXPECT_EQ(Send(WM_COMMAND, row.command), 0);
            EXPECT_EQ(*row.field, expected);
            EXPECT_TRUE(ProfileWasWritten());
            if (row.command == IDM_ONTOP) {
                bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                EXPECT_EQ(topmost, expected == 1) << "the z-order follows the switch";
                EXPECT_EQ(GetWindow(AppState.tooltipWindow, GW_OWNER), window);
                EXPECT_EQ(GetActiveWindow(), other) << "raised without taking the focus";
            }
            if (row.command == IDM_SHOWDATE) {
                EXPECT_NE(AppState.dialBitmap, nullptr);
                EXPECT_NE(AppState.dialBitmap, dial) << "rebuilt";
            }
            HMENU menu = BuildContextMenu();
            bool checked = (GetMenuState(menu, (UINT)row.command, MF_BYCOMMAND) & MF_CHECKED) != 0;
            EXPECT_EQ(checked, expected == 1);
            DestroyMenu(menu);
        }
    }
    DestroyWindow(other);
}

TEST_F(Window, UnknownCommandsChangeNothingButSave)
{
    DialSettings before = AppState.settings;
    for (WPARAM command : {(WPARAM)999, (WPARAM)MAKEWPARAM(IDM_ONTOP, 1), (WPARAM)0}) {
        RemoveProfile();
        EXPECT_EQ(Send(WM_COMMAND, command), 0);
        EXPECT_TRUE(ProfileWasWritten());
        EXPECT_TRUE(SameRecord(before, AppState.settings));
    }
}

TEST_F(Window, MenuLabelsAndOrder)
{
    HMENU menu = BuildContextMenu();
    const char* labels[] = {"&Restore",       "&Move",      "Mi&nimize", "&Close", "",
                            "&Always on top", "&Show date", "Colors",    "",       "About..."};
    ASSERT_EQ(GetMenuItemCount(menu), 10);
    for (int i = 0; i < 10; i++) {
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, labels[i]) << i;
    }
    HMENU colors = GetSubMenu(menu, 7);
    ASSERT_NE(colors, nullptr);
    const UINT ids[] = {IDM_COLOR_HOURS, IDM_COLOR_MINUTES, IDM_COLOR_SECONDS, IDM_COLOR_DATE};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(GetMenuItemID(colors, i), ids[i]);
    }
    DestroyMenu(menu);
    EXPECT_FALSE(IsMenu(colors)) << "destroying the menu destroys its submenu";
}

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

// Whether a tick comes within tries x 10 ms: the timer runs.
static bool TickWithin(int tries)
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

static LRESULT CALLBACK RefuseMinimize(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Windows refuses the session notices until its terminal service runs; other
// sessions' notices may reach the clock too. The program's GetProcAddress and
// GetTickCount, seen through these, hand it a refusing registration and a time.
static FARPROC RealGetProcAddress;
static FARPROC RealGetTickCount;
static int RegisterCalls = -1; // -1: the real registration
static int Refusals;
static bool HideForDpi; // no SystemParametersInfoForDpi, as before Windows 10
static DWORD TestTicks; // 0: the real time
static BOOL WINAPI RefusingRegister(HWND, DWORD)
{
    RegisterCalls++;
    SetLastError(RPC_S_INVALID_BINDING);
    return Refusals-- > 0 ? FALSE : TRUE;
}
static FARPROC WINAPI TestGetProcAddress(HMODULE module, LPCSTR name)
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
static DWORD WINAPI TestGetTickCount()
{
    return TestTicks != 0 ? TestTicks : ((DWORD(WINAPI*)())(void*)RealGetTickCount)();
}
static void SeeSystemCalls()
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

// Minimized and back, by every way there is: a taskbar button exactly while
// minimized, from the style the window has when it is shown; no tick while
// nobody sees it, and one at once when it is seen again. First the path that
// Microsoft documents by itself, then with Wine's steps; last Wine's return.
TEST_F(Window, MinimizeAndRestoreSwitchTheTaskbarButton)
{
    auto tool = [&] { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0; };
    auto state = [&] {
        return std::string(IsIconic(window)   ? "minimized"
                           : IsZoomed(window) ? "maximized"
                                              : "normal") +
               (IsWindowVisible(window) ? ", shown" : ", hidden") +
               (tool() ? ", no button" : ", button");
    };
    auto whereItStood = [&] { // whole, and that place the one recorded
        RECT rect, stood = {100, 120, 100 + AppState.dialSize, 120 + AppState.dialSize};
        GetWindowRect(window, &rect);
        return EqualRect(&rect, &stood) && AppState.settings.X == 100 && AppState.settings.Y == 120;
    };
    auto back = [&](int way) {
        AppState.lastDrawn.wSecond = 61; // no second: the next tick draws
        if (way == 0) {
            Send(WM_COMMAND, IDM_RESTORE);
        } else if (way == 1) {
            Send(WM_SYSCOMMAND, SC_RESTORE); // the taskbar button
        } else {
            ShowWindow(window, SW_RESTORE); // another program
        }
        Pump();
    };
    const bool wine = WineSteps();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchShowings, nullptr, GetCurrentThreadId());
    for (bool wineSteps : {false, wine}) {
        SetWineSteps(wineSteps);
        for (int way = 0; way < 3; way++) {
            Showings.clear();
            Send(WM_COMMAND, IDM_MINIMIZE);
            Pump();
            EXPECT_EQ(state(), "minimized, shown, button") << way;
            EXPECT_EQ(Showings.substr(0, 1), "B") << "shown with its button: " << Showings;
            EXPECT_FALSE(TickWithin(50)) << "minimized: no tick";
            // A move while minimized keeps the last real position.
            Send(WM_MOVE, 0, MAKELPARAM(3000, 3000));
            EXPECT_EQ(AppState.settings.X, 100);
            EXPECT_EQ(AppState.settings.Y, 120);

            Showings.clear();
            back(way);
            EXPECT_EQ(state(), "normal, shown, no button") << way;
            EXPECT_NE(Showings.find('T'), std::string::npos) << way << ": " << Showings;
            EXPECT_EQ(Showings.find('B'), std::string::npos) << way << ": " << Showings;
            // Wine's second style change ends in a frame change after the showing.
            EXPECT_EQ(Showings.find("Tf") != std::string::npos, wineSteps) << Showings;
            EXPECT_NE(AppState.lastDrawn.wSecond, 61) << "a tick at once, as it is seen again";
            EXPECT_TRUE(TickWithin(500));
            EXPECT_TRUE(whereItStood()) << way;
        }
        // Minimized by another program: a taskbar button all the same, never a
        // minimized tool window.
        ShowWindow(window, SW_MINIMIZE);
        Pump();
        EXPECT_EQ(state(), "minimized, shown, button");
        back(2);
        // A minimize that a hook refuses: the clock stays as it was, without a button.
        HHOOK refuse = SetWindowsHookExA(WH_CBT, RefuseMinimize, nullptr, GetCurrentThreadId());
        Send(WM_COMMAND, IDM_MINIMIZE);
        Pump();
        UnhookWindowsHookEx(refuse);
        EXPECT_EQ(state(), "normal, shown, no button");
        // Maximized at start (a shortcut's "Run: Maximized") or later (another
        // program, a window manager): shown normal at its size and place, and
        // that place is what a save writes.
        ShowWindow(window, SW_SHOWMAXIMIZED);
        EXPECT_EQ(AppState.settings.X, 100) << "a maximized place is never recorded";
        Pump();
        EXPECT_EQ(state(), "normal, shown, no button");
        EXPECT_TRUE(whereItStood());
    }
    UnhookWindowsHookEx(hook);
    SetWineSteps(wine);
    EXPECT_TRUE(ProfileWasWritten());

    // Wine's return to place: a clock just back that something moves elsewhere
    // (in one coordinate or both) goes back, whole, where it stood; moves while
    // its button is still on are not its place; after the return's three
    // seconds, a move stays. The earlier returns are over: the time is on.
    SeeSystemCalls();
    TestTicks = GetTickCount() + 10000;
    SetWineSteps(true);
    Send(WM_COMMAND, IDM_MINIMIZE);
    Pump();
    ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(AppState.settings.X, 100) << "a move with the button still on is not recorded";
    Pump();
    for (POINT move : {POINT{7, 9}, POINT{7, 120}, POINT{100, 9}}) {
        EXPECT_TRUE(whereItStood()) << "back where it stood, whole";
        SetWindowPos(window, nullptr, move.x, move.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EXPECT_TRUE(whereItStood());
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

TEST_F(Window, MovingRecordsThePositionInMemoryOnly)
{
    SetWindowPos(window, nullptr, -20, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(AppState.settings.X, -20);
    EXPECT_EQ(AppState.settings.Y, 300);
    EXPECT_FALSE(ProfileWasWritten()) << "a move alone writes nothing";
}

// The thread's DPI awareness where Windows has per-thread contexts (10 1607 on):
// 0 unaware, 1 system, 2 per monitor; -1 without them.
static int ThreadAwareness()
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto context = (HANDLE(WINAPI*)())(void*)GetProcAddress(user32, "GetThreadDpiAwarenessContext");
    auto awareness =
        (int(WINAPI*)(HANDLE))(void*)GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext");
    return context != nullptr && awareness != nullptr ? awareness(context()) : -1;
}

// Closes the first window of the thread's modal loop that has the given class,
// noting the thread's DPI awareness while it is open.
static HWND ModalToClose;
static UINT CloseCommand;
static int ModalAwareness;
static void CALLBACK CloseModal(HWND, UINT, UINT_PTR timer, DWORD)
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
static HWND SendClosingModal(HWND window, WPARAM command, UINT closeCommand)
{
    RemoveProfile();
    ModalToClose = nullptr;
    CloseCommand = closeCommand;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseModal);
    SendMessageA(window, WM_COMMAND, command, 0);
    KillTimer(nullptr, timer);
    return ModalToClose;
}

TEST_F(Window, AboutBoxClosesOnAnyCommandAndTheSettingsAreSaved)
{
    // TRUE lets the platform put the focus on OK; Wine's activation would hide
    // a FALSE here, Windows' not in every case.
    EXPECT_EQ(AboutDialogProc(nullptr, WM_INITDIALOG, 0, 0), TRUE);
    for (UINT command : {IDOK, IDCANCEL}) {
        ASSERT_NE(SendClosingModal(window, IDM_ABOUT, command), nullptr);
        EXPECT_FALSE(IsWindow(ModalToClose));
        EXPECT_TRUE(ProfileWasWritten());
    }
}

// CTest runs this once more with COMDLG32 disabled (TAVIK_NO_COMDLG32 set): then
// the command must behave as a cancelled dialog.
TEST_F(Window, CancelledColourDialogKeepsTheColourAndStillSaves)
{
    bool disabled = getenv("TAVIK_NO_COMDLG32") != nullptr;
    AppState.settings.Minutes = RGB(1, 2, 3);
    HWND dialog = SendClosingModal(window, IDM_COLOR_MINUTES, IDCANCEL);
    EXPECT_EQ(dialog != nullptr, !disabled) << "the colour dialog opened";
    EXPECT_EQ(GetModuleHandleA("comdlg32.dll") != nullptr, !disabled)
        << "the program loads COMDLG32 itself, on first use";
    EXPECT_EQ(AppState.settings.Minutes, RGB(1, 2, 3));
    EXPECT_TRUE(ProfileWasWritten());
    // The Date colour while the label is hidden: stored and saved, nothing rebuilt.
    ASSERT_EQ(AppState.settings.ShowDate, 0);
    HBITMAP dial = AppState.dialBitmap;
    SendClosingModal(window, IDM_COLOR_DATE, IDCANCEL);
    EXPECT_EQ(AppState.dialBitmap, dial);
    EXPECT_TRUE(ProfileWasWritten());

    // The thread per monitor aware: the dialog runs system-aware, and after it
    // the thread is as it was (where Windows has per-thread contexts). Called
    // directly: a message to a window sets the thread's context for the call.
    auto setContext = (HANDLE(WINAPI*)(HANDLE))(void*)GetProcAddress(
        GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext");
    HANDLE previous = setContext != nullptr ? setContext((HANDLE)(LONG_PTR)-3) : nullptr;
    int awareness = ThreadAwareness();
    ModalAwareness = -2;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseModal);
    EXPECT_EQ(ChooseHandColor(RGB(4, 5, 6)), RGB(4, 5, 6));
    KillTimer(nullptr, timer);
    EXPECT_EQ(ThreadAwareness(), awareness);
    EXPECT_EQ(ModalAwareness, disabled ? -2 : (awareness < 0 ? -1 : 1));
    if (previous != nullptr) {
        setContext(previous);
    }
}

// The tooltip's tool record shows in what the tooltip holds (the set-up test reads
// its text back) and where it shows; the colour dialog's record is this.
TEST_F(Window, RecordHandedToTheColourDialog)
{
    CHOOSECOLORA record;
    FillColorRecord(&record, RGB(9, 8, 7));
    EXPECT_EQ(record.lStructSize, sizeof(CHOOSECOLORA));
    EXPECT_EQ(record.hwndOwner, window);
    EXPECT_EQ(record.rgbResult, RGB(9, 8, 7));
    EXPECT_EQ(record.lpCustColors, AppState.customColors);
    EXPECT_EQ(record.Flags, (DWORD)(CC_RGBINIT | CC_FULLOPEN));
}

// Ends the platform's move loop of the Move command, as Enter would.
static void CALLBACK EndMoveLoop(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    PostMessageA(AppState.mainWindow, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(Window, EveryCommandSavesExactlyOnce)
{
    ASSERT_TRUE(CountSaves());
    const struct {
        WPARAM command;
        UINT closeModal; // the command that ends its dialog, or 0
    } rows[] = {
        {IDM_RESTORE, 0},
        {IDM_MINIMIZE, 0},
        {IDM_RESTORE, 0},
        {IDM_ONTOP, 0},
        {IDM_ONTOP, 0},
        {IDM_SHOWDATE, 0},
        {IDM_SHOWDATE, 0},
        {IDM_ABOUT, IDOK},
        {IDM_COLOR_HOURS, IDCANCEL},
        {IDM_COLOR_MINUTES, IDCANCEL},
        {IDM_COLOR_SECONDS, IDCANCEL},
        {IDM_COLOR_DATE, IDCANCEL},
        {999, 0},
        {MAKEWPARAM(IDM_ONTOP, 1), 0},
        {IDM_MOVE, 0},
    };
    for (const auto& row : rows) {
        int before = Saves().saves;
        if (row.closeModal != 0) {
            EXPECT_NE(SendClosingModal(window, row.command, row.closeModal), nullptr)
                << "command " << row.command;
        } else {
            if (row.command == IDM_MOVE) {
                SetTimer(nullptr, 0, 200, EndMoveLoop);
            }
            Send(WM_COMMAND, row.command);
        }
        EXPECT_EQ(Saves().saves - before, 1) << "command " << row.command;
    }
    int before = Saves().saves;
    EXPECT_EQ(Send(WM_QUERYENDSESSION), 1);
    EXPECT_EQ(Saves().saves - before, 1) << "the session-end query";
    before = Saves().saves;
    Send(WM_MOVE);
    HandleTick(window, MakeTime(2026, 12, 8, 1, 2, 3));
    EXPECT_EQ(Saves().saves - before, 0) << "moves and ticks never save";
}

TEST_F(Window, DestroyPostsQuitThenSavesThenReleasesTheDial)
{
    ASSERT_TRUE(CountSaves());
    int before = Saves().saves;
    EXPECT_NE(GetModuleHandleA("wtsapi32.dll"), nullptr) << "loaded for the session notices";
    DestroyWindow(window);
    EXPECT_EQ(Saves().saves - before, 1);
    EXPECT_TRUE(Saves().quitPostedBeforeLastSave);
    EXPECT_TRUE(Saves().dialAliveAtLastSave) << "the save comes before the dial is deleted";
    EXPECT_EQ(AppState.dialBitmap, nullptr);
    EXPECT_EQ(GetModuleHandleA("wtsapi32.dll"), nullptr) << "and let go of";
}

TEST_F(Window, CloseDestroysTheWindowSavesTwiceAndPostsQuit)
{
    ASSERT_TRUE(CountSaves());
    int before = Saves().saves;
    Send(WM_COMMAND, IDM_CLOSE);
    EXPECT_EQ(Saves().saves - before, 2) << "WM_DESTROY's save, then the command's";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(AppState.dialBitmap, nullptr);
    EXPECT_TRUE(ProfileWasWritten());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

// A clock is sized for the monitor that holds most of it, and a clock off every
// monitor comes back onto the nearest one.
TEST(Placement, SizedForTheMonitorHoldingMostOfItAndNeverOffScreen)
{
    // CTest runs this once more on two monitors side by side at 192 DPI
    // (TAVIK_TWO_MONITORS): 1024 x 768, and a small one of 100 x 100 at its right.
    // Wine gives both the same DPI: the monitor a clock is sized for shows in the
    // work area that bounds its size.
    if (getenv("TAVIK_TWO_MONITORS") != nullptr) {
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
        const struct {
            POINT corner;
            RECT fit;
        } fits[] = {
            {{1000, 10}, {1000, 10, 1100, 110}}, // most of it on the small one
            {{990, 10}, {990, 10, 1118, 138}},   // most of it on the large one
        };
        for (const auto& row : fits) {
            UINT dpi = 0;
            RECT fit = FitClock(row.corner, 64, &dpi);
            EXPECT_TRUE(EqualRect(&fit, &row.fit)) << row.corner.x << ": " << fit.right - fit.left;
            EXPECT_EQ(dpi, 192u);
        }
        ASSERT_TRUE(WriteProfile("[Position]\r\nX=1000\r\nY=10\r\n"));
        memset(&AppState, 0, sizeof AppState);
        ASSERT_NE(PrepareClock(GetModuleHandleA(nullptr), nullptr), nullptr);
        EXPECT_EQ(AppState.dialSize, 100) << "started with most of it on the small one";
        DestroyWindow(AppState.mainWindow);
        RemoveProfile();
        return;
    }

    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        int x, y;
        bool unchanged;
    } rows[] = {{100, 100, true},           {-20, 10, true},
                {work.right - 10, 5, true}, {-64, 10, false},
                {-5000, -5000, false},      {work.right + 10, 10, false},
                {10, work.bottom, false},   {2147483647, 2147483647, false},
                {-2147483647 - 1, 0, false}};
    for (const auto& row : rows) {
        POINT place = PlaceOnScreen(row.x, row.y, 64);
        if (row.unchanged) {
            EXPECT_EQ(place.x, row.x);
            EXPECT_EQ(place.y, row.y);
        } else {
            EXPECT_GE(place.x, work.left) << row.x << "," << row.y;
            EXPECT_LE(place.x, work.right - 64) << row.x << "," << row.y;
            EXPECT_GE(place.y, work.top) << row.x << "," << row.y;
            EXPECT_LE(place.y, work.bottom - 64) << row.x << "," << row.y;
        }
    }
    // The dial's side: 64 at the DPI (96 to 480), within the work area's shorter
    // side, never below 64.
    const struct {
        UINT dpi;
        RECT work;
        int side;
    } sides[] = {{96, {0, 0, 1024, 768}, 64},   {192, {0, 0, 1024, 768}, 128},
                 {480, {0, 0, 1000, 200}, 200}, {480, {0, 0, 200, 1000}, 200},
                 {192, {0, 0, 50, 50}, 64},     {1000, {0, 0, 1024, 768}, 320},
                 {0, {0, 0, 1024, 768}, 64}};
    for (const auto& row : sides) {
        EXPECT_EQ(DialPixels(row.dpi, row.work), row.side) << row.dpi << " DPI";
    }
}

TEST_F(Window, TheTooltipIsPlacedOnlyWhenItHasASize)
{
    NMHDR show = {AppState.tooltipWindow, 0, TTN_SHOW};
    EXPECT_EQ(Send(WM_NOTIFY, 0, (LPARAM)&show), TRUE) << "placed: the control leaves it there";
    TOOLINFOW tool;
    FillToolRecord(&tool);
    SendMessageA(AppState.tooltipWindow, TTM_DELTOOLW, 0, (LPARAM)&tool);
    SetWindowPos(AppState.tooltipWindow, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Send(WM_NOTIFY, 0, (LPARAM)&show), 0) << "no size: the control places it";
}

TEST(Tooltip, ShowsWholeInsideTheWorkAreaWhereverTheClockStands)
{
    const RECT screen = {0, 0, 1024, 742};   // a taskbar below
    const RECT left = {-1280, 0, 0, 1024};   // a monitor left of the primary one
    const RECT above = {0, -768, 1024, -30}; // one above it, a taskbar below
    const RECT narrow = {0, 0, 150, 80};
    const SIZE tip = {180, 20};
    const struct {
        RECT clock;
        RECT work;
        SIZE tip;
        RECT expected;
    } rows[] = {
        {{400, 300, 464, 364}, screen, tip, {342, 366, 522, 386}},   // centred, 2 pixels below
        {{0, 0, 64, 64}, screen, tip, {0, 66, 180, 86}},             // the left edge: at it
        {{960, 704, 1024, 768}, screen, tip, {844, 682, 1024, 702}}, // bottom right: above
        {{400, 700, 464, 764}, screen, tip, {342, 678, 522, 698}},   // too low for below
        {{-64, 500, 0, 564}, left, tip, {-180, 566, 0, 586}},        // right edge, negative
        {{500, -94, 564, -30}, above, tip, {442, -116, 622, -96}},   // above, negative
        {{40, 0, 104, 64}, narrow, tip, {0, 0, 180, 20}},        // wider than the work area: left
        {{40, 0, 104, 64}, narrow, {100, 90}, {22, 0, 122, 90}}, // taller: from the top
    };
    for (const auto& row : rows) {
        RECT rect = TooltipRect(row.clock, row.tip, row.work);
        EXPECT_TRUE(EqualRect(&rect, &row.expected))
            << "clock at " << row.clock.left << "," << row.clock.top << ": got " << rect.left << ","
            << rect.top << " " << rect.right << "," << rect.bottom;
        RECT overlap;
        bool roomy = row.work.bottom - row.work.top >= 2 * row.tip.cy + 132;
        EXPECT_FALSE(roomy && IntersectRect(&overlap, &rect, &row.clock))
            << "the tip covers the clock at " << row.clock.left << "," << row.clock.top;
    }
}

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

// A bitmap's pixels, 0x00RRGGBB, rows top down; its width in *width.
static std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int* width)
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
static void ExpectLabelAtDpi(UINT dpi, int size)
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
    EXPECT_NEAR(bottom - top + 1, em * 0.72, 0.75) << "Arial's digits at " << em << " pixels";
}

// CTest runs this once more in the prefix at 120, 144 and 192 DPI (TAVIK_DPI):
// everything on screen at that scale, the dial drawn from its artwork, never enlarged.
TEST_F(Window, EverythingScalesWithTheScreen)
{
    const char* given = getenv("TAVIK_DPI");
    int dpi = given != nullptr ? atoi(given) : 96;
    int size = MulDiv(64, dpi, 96);
    EXPECT_EQ((int)AppState.dpi, dpi);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, size);
    EXPECT_EQ(rect.bottom - rect.top, size);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, region);
    EXPECT_TRUE(PtInRegion(region, size / 2, size / 2));
    EXPECT_TRUE(PtInRegion(region, size - 2, size / 2)) << "the circle fills the window";
    EXPECT_FALSE(PtInRegion(region, size / 8, size / 8)) << "the corners show what is behind";
    DeleteObject(region);

    // The dial is the artwork drawn at that size, never a smaller one enlarged;
    // at 96 DPI it is the resource itself, pixel for pixel.
    int width = 0;
    std::vector<uint32_t> dial = BitmapPixels(AppState.dialBitmap, &width);
    ASSERT_EQ(width, dpi == 96 ? 65 : size);
    int artWidth = size;
    std::vector<uint32_t> artwork((size_t)size * size);
    RenderDial(size, true, artwork.data());
    if (dpi == 96) {
        HBITMAP resource = LoadBitmapA(AppState.hInstance, MAKEINTRESOURCEA(IDB_DIAL_NUMERALS));
        artwork = BitmapPixels(resource, &artWidth);
        DeleteObject(resource);
    }
    double error = 0;
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            for (int shift = 0; shift < 24; shift += 8) {
                error += abs((int)(dial[y * width + x] >> shift & 255) -
                             (int)(artwork[y * artWidth + x] >> shift & 255));
            }
        }
    }
    EXPECT_LT(error / (size * size * 3), dpi == 96 ? 1e-9 : 1.0) << "mean error per channel";

    // The hands' lengths and pens at that scale.
    AppState.settings.Hours = RGB(255, 0, 0);
    AppState.settings.Minutes = RGB(0, 255, 0);
    AppState.settings.Seconds = RGB(255, 0, 255);
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(canvas, target);
    DrawHands(canvas, MakeTime(2026, 12, 8, 10, 10, 20));
    SelectObject(canvas, old);
    DeleteDC(canvas);
    std::vector<uint32_t> drawn = BitmapPixels(target, &width);
    DeleteObject(target);
    const struct {
        double length;
        COLORREF color;
        int width; // at 96 DPI
    } hands[] = {{0.4, AppState.settings.Hours, 2},
                 {0.7, AppState.settings.Minutes, 2},
                 {0.8, AppState.settings.Seconds, 1}};
    for (const auto& hand : hands) {
        uint32_t wanted =
            GetRValue(hand.color) << 16 | GetGValue(hand.color) << 8 | GetBValue(hand.color);
        int pixels = 0;
        double farthest = 0, reach = hand.length * size / 2;
        for (int i = 0; i < size * size; i++) {
            if (drawn[i] == wanted) {
                pixels++;
                farthest =
                    fmax(farthest, hypot(i % size + 0.5 - size / 2, i / size + 0.5 - size / 2));
            }
        }
        // As long as at that scale (less the truncated end point and the last
        // pixel, which LineTo leaves out), and as many pixels as its length times its
        // pen's width (a one-pixel line has fewer: its diagonal steps).
        int pen = MulDiv(hand.width, dpi, 96);
        EXPECT_NEAR(farthest, reach, 2.5 + pen / 2.0) << hand.length;
        EXPECT_GE(pixels / reach, pen > 1 ? pen * 1.05 : 0.7) << hand.length;
    }

    // The date label: 8 points at that DPI, below the centre as at 100 %.
    AppState.settings.Date = RGB(255, 0, 0);
    Send(WM_COMMAND, IDM_SHOWDATE);
    ExpectLabelAtDpi((UINT)dpi, size);
}

// The tooltip font's height in pixels.
static LONG TooltipFontHeight()
{
    LOGFONTW font = {};
    GetObjectW((HFONT)SendMessageA(AppState.tooltipWindow, WM_GETFONT, 0, 0), sizeof font, &font);
    return labs(font.lfHeight);
}

// Moved onto a monitor of another scale: the suggested rectangle, kept whole on
// screen and at the dial's size for the DPI, and one rebuild of the dial; the
// tooltip's font made for the DPI (from SystemParametersInfoForDpi, or before
// Windows 10 from the system's metrics), the old one deleted.
TEST_F(Window, AtAnotherScaleTheClockTakesTheSuggestedRectangle)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LONG fontAt96 = TooltipFontHeight();
    EXPECT_EQ(fontAt96, labs(metrics.lfStatusFont.lfHeight)) << "at 96 DPI the system's font";
    long gdiObjects = 0; // after the first pass: what Wine makes once is made by then
    const struct {
        UINT dpi;
        RECT suggested;
        int size;
        bool taken; // the suggested rectangle as it is
    } rows[] = {
        {192, {200, 100, 328, 228}, 128, true},
        {120, {210, 110, 290, 190}, 80, true},
        {144, {-500, 100, -404, 196}, 96, false},               // off screen
        {0, {200, 100, 200, 100}, 64, false},                   // no DPI, empty
        {1000, {-100000, -100000, 100000, 100000}, 320, false}, // absurd
        {96, {300, 300, 364, 364}, 64, true},                   // back at 100 %
        {96, {310, 300, 374, 364}, 64, true},                   // the same DPI again
    };
    SeeSystemCalls();
    for (bool forDpi : {true, false}) {
        HideForDpi = !forDpi;
        gdiObjects = CountGdiObjects();
        for (const auto& row : rows) {
            UINT before = AppState.dpi;
            HBITMAP dial = AppState.dialBitmap;
            HGDIOBJ font = (HGDIOBJ)SendMessageA(AppState.tooltipWindow, WM_GETFONT, 0, 0);
            RECT suggested = row.suggested;
            Send(WM_DPICHANGED, MAKEWPARAM(row.dpi, row.dpi), (LPARAM)&suggested);
            RECT rect;
            GetWindowRect(window, &rect);
            EXPECT_EQ(rect.right - rect.left, row.size) << row.dpi;
            EXPECT_EQ(rect.bottom - rect.top, row.size) << row.dpi;
            EXPECT_EQ((int)AppState.dpi, MulDiv(row.size, 96, 64)) << "the label's DPI";
            RECT inside;
            IntersectRect(&inside, &rect, &work);
            EXPECT_TRUE(row.taken ? EqualRect(&rect, &row.suggested) : EqualRect(&inside, &rect))
                << row.dpi << ": " << rect.left << "," << rect.top;
            int width = 0;
            BitmapPixels(AppState.dialBitmap, &width);
            EXPECT_EQ(width, row.size == 64 ? 65 : row.size) << row.dpi;
            RECT box;
            GetWindowRgnBox(window, &box);
            EXPECT_NEAR(box.right - box.left, row.size, 1) << row.dpi;
            EXPECT_EQ(AppState.settings.X, rect.left);
            EXPECT_EQ(AppState.settings.Y, rect.top);
            EXPECT_EQ(AppState.dialBitmap != dial, AppState.dpi != before) << "rebuilt once";
            EXPECT_NEAR(TooltipFontHeight(), MulDiv(fontAt96, (int)AppState.dpi, 96), 1)
                << row.dpi << (forDpi ? " for the DPI" : " scaled");
            EXPECT_EQ(GetObjectType(font) == 0, AppState.dpi != before) << "the old font deleted";
        }
    }
    HideForDpi = false;
    EXPECT_EQ(CountGdiObjects(), gdiObjects) << "the second pass, as many GDI objects as before it";

    // Minimized, the clock is parked off screen, and a DPI change (with the
    // parked rectangle) changes nothing; seen again, it takes the DPI of the
    // monitor it is on, once.
    RECT large = {200, 100, 328, 228};
    AppState.settings.Date = RGB(255, 0, 0);
    Send(WM_COMMAND, IDM_SHOWDATE);
    Send(WM_DPICHANGED, MAKEWPARAM(192, 192), (LPARAM)&large);
    ExpectLabelAtDpi(192, 128); // the monitor's DPI, not the screen's 96
    Send(WM_COMMAND, IDM_MINIMIZE);
    Pump();
    WINDOWPLACEMENT before = {}, after = {};
    before.length = after.length = sizeof before;
    GetWindowPlacement(window, &before);
    HBITMAP dial = AppState.dialBitmap;
    RECT parked = {-32000, -32000, -31904, -31904};
    Send(WM_DPICHANGED, MAKEWPARAM(144, 144), (LPARAM)&parked);
    GetWindowPlacement(window, &after);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(EqualRect(&before.rcNormalPosition, &after.rcNormalPosition));
    EXPECT_EQ(after.ptMinPosition.x, before.ptMinPosition.x);
    EXPECT_EQ(AppState.dialBitmap, dial);
    EXPECT_EQ(AppState.dpi, 192u);
    RECT box;
    GetWindowRgnBox(window, &box);
    EXPECT_NEAR(box.right - box.left, 128, 1);
    Send(WM_COMMAND, IDM_RESTORE);
    Pump();
    RECT rect;
    GetWindowRect(window, &rect);
    RECT back = {200, 100, 264, 164};
    EXPECT_TRUE(EqualRect(&rect, &back)) << rect.left << "," << rect.top << " " << rect.right;
    EXPECT_EQ(AppState.dpi, 96u);
    EXPECT_NE(AppState.dialBitmap, dial);
    GetWindowRgnBox(window, &box);
    EXPECT_NEAR(box.right - box.left, 64, 1);
    EXPECT_EQ(TooltipFontHeight(), fontAt96);
}
