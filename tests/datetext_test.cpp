#include "datetext.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string.h>

static SYSTEMTIME Date(int day, int month, int year)
{
    return MakeTime(year, month, day, 12, 0, 0);
}

struct DateCase {
    int day, month, year;
    const char* label;
    const char* fallback;
};

static const DateCase DATE_CASES[] = {
    {8, 12, 2026, "8.12", "8.12.2026"},
    {1, 1, 2027, "1.01", "1.1.2027"},
    {25, 3, 2027, "25.03", "25.3.2027"},
    {31, 10, 2027, "31.10", "31.10.2027"},
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
    old.ok = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLONGDATE, old.saved,
                            sizeof old.saved) != 0;
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
        char expected[TOOLTIP_TEXT_SIZE];
        ASSERT_NE(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, expected,
                                 sizeof expected),
                  0);
        char text[TOOLTIP_TEXT_SIZE];
        FormatTooltipDateOf(date, text);
        EXPECT_STREQ(text, expected);
        EXPECT_NE(strstr(text, row.year == 2026 ? "2026" : "2027"), nullptr) << text;
    }
    RestoreLongDatePattern(old);
}

TEST(TooltipDate, FallsBackToNumbersWhenTheLongDateDoesNotFit)
{
    // 62 characters: the whole long date cannot be had, and a cut-off one must not show.
    LongDatePattern old =
        UseLongDatePattern("'This long date will never fit in the tooltip at all' dd.MM.yyyy");
    for (const DateCase& row : DATE_CASES) {
        char text[TOOLTIP_TEXT_SIZE + 8];
        memset(text, 'x', sizeof text);
        FormatTooltipDateOf(Date(row.day, row.month, row.year), text);
        EXPECT_STREQ(text, row.fallback);
    }
    RestoreLongDatePattern(old);
}

TEST(TooltipDate, ALongDateOfExactlyFortyNineCharactersIsKeptWhole)
{
    // "dd.MM.yyyy" is 10 characters; the quoted text makes 49 in all.
    LongDatePattern old = UseLongDatePattern("'Exactly forty-nine characters, all in:' dd.MM.yyyy");
    SYSTEMTIME date = Date(8, 12, 2026);
    char text[TOOLTIP_TEXT_SIZE];
    FormatTooltipDateOf(date, text);
    EXPECT_STREQ(text, "Exactly forty-nine characters, all in: 08.12.2026");
    EXPECT_EQ(strlen(text), 49u);
    RestoreLongDatePattern(old);
}

TEST(TooltipDate, TodayNeverExceedsFortyNineCharacters)
{
    const char* patterns[] = {"dddd, d MMMM yyyy", "'0123456789012345678901234567890123456789' yyyy",
                              "'0123456789012345678901234567890123456789012' dddd"};
    for (const char* pattern : patterns) {
        LongDatePattern old = UseLongDatePattern(pattern);
        char text[TOOLTIP_TEXT_SIZE + 8];
        memset(text, 'x', sizeof text);
        SYSTEMTIME before;
        GetLocalTime(&before);
        FormatTooltipDate(text);
        EXPECT_LE(strlen(text), 49u) << pattern;
        // Long date or fallback, the text names today's year.
        char year[8];
        snprintf(year, sizeof year, "%d", before.wYear);
        EXPECT_NE(strstr(text, year), nullptr) << text;
        RestoreLongDatePattern(old);
    }
}
#endif
