#include "hands.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <math.h>

static SYSTEMTIME TimeOfDay(int hour, int minute, int second)
{
    return MakeTime(2026, 12, 8, hour, minute, second);
}

static DialSettings Colors(COLORREF hours, COLORREF minutes, COLORREF seconds)
{
    DialSettings settings = {};
    settings.Hours = hours;
    settings.Minutes = minutes;
    settings.Seconds = seconds;
    settings.Date = DEFAULT_COLOR;
    return settings;
}

struct HandCheck {
    int hour, minute, second;
    double angle[HAND_COUNT];
    int end[HAND_COUNT][2];
};

static const HandCheck CHECKS[] = {
    {0, 0, 0, {0.0000000, 0.0000000, 0.0000000}, {{32, 19}, {32, 9}, {32, 6}}},
    {3, 0, 0, {1.5707500, 0.0000000, 0.0000000}, {{44, 31}, {32, 9}, {32, 6}}},
    {6, 0, 0, {3.1415000, 0.0000000, 0.0000000}, {{32, 44}, {32, 9}, {32, 6}}},
    {9, 0, 0, {4.7122502, 0.0000000, 0.0000000}, {{19, 32}, {32, 9}, {32, 6}}},
    {6, 30, 15, {3.4032917, 3.1415000, 1.5707500}, {{28, 44}, {32, 54}, {57, 31}}},
    {9, 45, 30, {5.1049376, 4.7122502, 3.1415000}, {{20, 27}, {9, 32}, {32, 57}}},
    {10, 10, 20, {5.3230972, 1.0471667, 2.0943334}, {{21, 24}, {51, 20}, {54, 44}}},
    {12, 59, 59, {0.5148569, 6.1782832, 6.1782832}, {{38, 20}, {29, 9}, {29, 6}}},
    {15, 15, 45, {1.7016459, 1.5707500, 4.7122502}, {{44, 33}, {54, 31}, {6, 32}}},
    {23, 59, 59, {6.2742734, 6.1782832, 6.1782832}, {{31, 19}, {29, 9}, {29, 6}}},
};

TEST(Hands, CheckTableAnglesAndEndPoints)
{
    for (const HandCheck& check : CHECKS) {
        SYSTEMTIME time = TimeOfDay(check.hour, check.minute, check.second);
        HandAngles angles = ComputeHandAngles(time);
        float got[HAND_COUNT] = {angles.hour, angles.minute, angles.second};
        HandSegment hands[HAND_COUNT];
        ComputeHands(time, Colors(1, 2, 3), hands);
        for (int i = 0; i < HAND_COUNT; i++) {
            char printed[32];
            snprintf(printed, sizeof printed, "%.7f", got[i]);
            char expected[32];
            snprintf(expected, sizeof expected, "%.7f", check.angle[i]);
            EXPECT_STREQ(printed, expected)
                << check.hour << ":" << check.minute << ":" << check.second << " hand " << i;
            EXPECT_EQ(hands[i].endX, check.end[i][0])
                << check.hour << ":" << check.minute << ":" << check.second << " hand " << i;
            EXPECT_EQ(hands[i].endY, check.end[i][1])
                << check.hour << ":" << check.minute << ":" << check.second << " hand " << i;
        }
    }
}

TEST(Hands, EveryHandStartsAtTheCentreWithItsWidthAndColour)
{
    HandSegment hands[HAND_COUNT];
    ComputeHands(TimeOfDay(10, 10, 20), Colors(0x0000FF, 0x00FF00, 0xFF0000), hands);
    const int widths[HAND_COUNT] = {2, 2, 0};
    const COLORREF colors[HAND_COUNT] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int i = 0; i < HAND_COUNT; i++) {
        EXPECT_EQ(hands[i].penWidth, widths[i]);
        EXPECT_EQ(hands[i].color, colors[i]);
    }
}

TEST(Hands, EndPointsStayInTheirRingsForEverySecondOfTheDay)
{
    const int low[HAND_COUNT] = {19, 9, 6};
    const int high[HAND_COUNT] = {44, 54, 57};
    int seen[HAND_COUNT][2] = {{99, -1}, {99, -1}, {99, -1}};
    DialSettings settings = Colors(1, 2, 3);
    for (int second = 0; second < 86400; second++) {
        SYSTEMTIME time = TimeOfDay(second / 3600, second / 60 % 60, second % 60);
        HandSegment hands[HAND_COUNT];
        ComputeHands(time, settings, hands);
        for (int i = 0; i < HAND_COUNT; i++) {
            ASSERT_EQ(hands[i].startX, 32);
            ASSERT_EQ(hands[i].startY, 32);
            int values[2] = {hands[i].endX, hands[i].endY};
            for (int value : values) {
                ASSERT_GE(value, low[i]) << "second " << second << " hand " << i;
                ASSERT_LE(value, high[i]) << "second " << second << " hand " << i;
                seen[i][0] = value < seen[i][0] ? value : seen[i][0];
                seen[i][1] = value > seen[i][1] ? value : seen[i][1];
            }
        }
    }
    // The rings are reached, not only respected.
    for (int i = 0; i < HAND_COUNT; i++) {
        EXPECT_EQ(seen[i][0], low[i]);
        EXPECT_EQ(seen[i][1], high[i]);
    }
}

static bool SameEnd(const HandSegment& a, const HandSegment& b)
{
    return a.endX == b.endX && a.endY == b.endY;
}

TEST(Hands, HourHandRepeatsEveryTwelveHoursAndIgnoresSeconds)
{
    DialSettings settings = Colors(1, 2, 3);
    HandSegment noon[HAND_COUNT];
    HandSegment midnight[HAND_COUNT];
    ComputeHands(TimeOfDay(12, 59, 59), settings, noon);
    ComputeHands(TimeOfDay(0, 59, 59), settings, midnight);
    EXPECT_TRUE(SameEnd(noon[0], midnight[0]));
    EXPECT_EQ(ComputeHandAngles(TimeOfDay(12, 59, 59)).hour,
              ComputeHandAngles(TimeOfDay(0, 59, 59)).hour);

    for (int hour = 0; hour < 24; hour++) {
        for (int minute = 0; minute < 60; minute++) {
            HandSegment first[HAND_COUNT];
            ComputeHands(TimeOfDay(hour, minute, 0), settings, first);
            for (int second = 1; second < 60; second++) {
                HandSegment later[HAND_COUNT];
                ComputeHands(TimeOfDay(hour, minute, second), settings, later);
                ASSERT_TRUE(SameEnd(first[0], later[0])) << hour << ":" << minute;
                ASSERT_TRUE(SameEnd(first[1], later[1])) << hour << ":" << minute;
            }
        }
    }
}
