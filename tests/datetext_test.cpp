#include "datetext.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string.h>
#include <wchar.h>

#include <string>

static SYSTEMTIME Date(int day, int month, int year)
{
    return MakeTime(year, month, day, 12, 0, 0);
}

struct DateCase {
    int day, month, year;
    const char* label;
    const wchar_t* fallback;
};

static const DateCase DATE_CASES[] = {
    {8, 12, 2026, "8.12", L"8.12.2026"},
    {1, 1, 2027, "1.01", L"1.1.2027"},
    {25, 3, 2027, "25.03", L"25.3.2027"},
    {31, 10, 2027, "31.10", L"31.10.2027"},
};

TEST(DialDate, LabelIsDayDotTwoDigitMonth)
{
    for (const DateCase& row : DATE_CASES) {
        char label[DIAL_DATE_SIZE];
        memset(label, 'x', sizeof label);
        FormatDialDate(Date(row.day, row.month, row.year), label);
        EXPECT_STREQ(label, row.label);
    }
}

#ifdef _WIN32
// Sets the user's long-date pattern for the life of one test and puts the old one back.
struct LongDatePattern {
    char saved[128];
    bool ok;
};

static LongDatePattern UseLongDatePattern(const char* pattern)
{
    LongDatePattern old = {};
    old.ok =
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLONGDATE, old.saved, sizeof old.saved) != 0;
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLONGDATE, pattern);
    return old;
}

static void RestoreLongDatePattern(const LongDatePattern& old)
{
    if (old.ok) {
        SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLONGDATE, old.saved);
    }
}

TEST(TooltipDate, IsTheLocalesLongDateWhenItFits)
{
    LongDatePattern old = UseLongDatePattern("dddd, d MMMM yyyy");
    for (const DateCase& row : DATE_CASES) {
        SYSTEMTIME date = Date(row.day, row.month, row.year);
        wchar_t expected[TOOLTIP_TEXT_SIZE];
        ASSERT_NE(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, expected,
                                 TOOLTIP_TEXT_SIZE),
                  0);
        wchar_t text[TOOLTIP_TEXT_SIZE];
        FormatTooltipDateOf(date, text);
        EXPECT_STREQ(text, expected);
        EXPECT_NE(wcsstr(text, row.year == 2026 ? L"2026" : L"2027"), nullptr);
    }
    RestoreLongDatePattern(old);
}

// "dddd " n times and "dddd" once more: on Tuesday 8 December 2026 8n + 7 characters.
static std::string Tuesdays(int n)
{
    std::string pattern;
    for (int i = 0; i < n; i++) {
        pattern += "dddd ";
    }
    return pattern + "dddd";
}

TEST(TooltipDate, FallsBackToNumbersWhenTheLongDateDoesNotFit)
{
    // Sixteen weekday names of eight or nine letters: over 140 characters. The
    // whole long date cannot be had, and a cut-off one must not show.
    LongDatePattern old = UseLongDatePattern(Tuesdays(15).c_str());
    const DateCase rows[] = {{9, 12, 2026, "", L"9.12.2026"}, // a Wednesday
                             {25, 3, 2027, "", L"25.3.2027"}, // a Thursday
                             {1, 1, 2028, "", L"1.1.2028"}};  // a Saturday
    for (const DateCase& row : rows) {
        wchar_t text[TOOLTIP_TEXT_SIZE + 8];
        wmemset(text, L'x', TOOLTIP_TEXT_SIZE + 8);
        FormatTooltipDateOf(Date(row.day, row.month, row.year), text);
        EXPECT_STREQ(text, row.fallback);
    }
    RestoreLongDatePattern(old);
}

TEST(TooltipDate, ALongDateThatFillsTheBufferIsKeptWhole)
{
    LongDatePattern old = UseLongDatePattern(Tuesdays(15).c_str());
    SYSTEMTIME date = Date(8, 12, 2026);
    wchar_t text[TOOLTIP_TEXT_SIZE];
    FormatTooltipDateOf(date, text);
    EXPECT_EQ(wcslen(text), (size_t)TOOLTIP_TEXT_SIZE - 1);
    EXPECT_EQ(wcsncmp(text, L"Tuesday Tuesday ", 16), 0);
    RestoreLongDatePattern(old);
}

TEST(TooltipDate, TodayNeverOverflowsTheBuffer)
{
    const char* patterns[] = {
        "dddd, d MMMM yyyy", "'0123456789012345678901234567890123456789' yyyy",
        "dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd "
        "dddd yyyy"};
    for (const char* pattern : patterns) {
        LongDatePattern old = UseLongDatePattern(pattern);
        wchar_t text[TOOLTIP_TEXT_SIZE + 8];
        wmemset(text, L'x', TOOLTIP_TEXT_SIZE + 8);
        SYSTEMTIME before;
        GetLocalTime(&before);
        FormatTooltipDate(text);
        EXPECT_LT(wcslen(text), (size_t)TOOLTIP_TEXT_SIZE) << pattern;
        // Long date or fallback, the text names today's year.
        EXPECT_NE(std::wstring(text).find(std::to_wstring(before.wYear)), std::wstring::npos)
            << pattern;
        RestoreLongDatePattern(old);
    }
}
#endif
