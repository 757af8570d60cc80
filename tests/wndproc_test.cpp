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
    SizeClock(POINT{0, 0}, 0);
    int size = AppState.dialSize;
    window = CreateWindowExA(WS_EX_TOOLWINDOW, "TavikApp", "Tavik", WS_POPUP, 0, 0, size, size,
                             nullptr, nullptr, AppState.hInstance, nullptr);
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

TEST_F(Window, MovingRecordsThePositionInMemoryOnly)
{
    SetWindowPos(window, nullptr, -20, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(AppState.settings.X, -20);
    EXPECT_EQ(AppState.settings.Y, 300);
    EXPECT_FALSE(ProfileWasWritten()) << "a move alone writes nothing";
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
