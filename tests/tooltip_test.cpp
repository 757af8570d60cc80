// The date tooltip (tooltip.cpp): its text in the user's language and where it shows.
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <stdlib.h>

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
