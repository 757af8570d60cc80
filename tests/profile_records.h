// The two records that two instances save in turn, and the file a save leaves.
#pragma once

#include "colortext.h"
#include "settings.h"
#include "test_support.h"

#include <stdio.h>

#include <string>

inline DialSettings RecordOf(char name)
{
    if (name == 'A') {
        return DialSettings{-100,           200, 1, 0, RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9),
                            RGB(10, 11, 12)};
    }
    return DialSettings{
        300, -400, 0, 1, RGB(250, 251, 252), 0, RGB(255, 255, 255), RGB(0, 128, 255)};
}

// The whole file as a save of record leaves it, lines without carriage returns.
inline std::string CanonicalFile(const DialSettings& s)
{
    char colors[4][COLOR_TEXT_SIZE];
    FormatColorText(s.Hours, colors[0]);
    FormatColorText(s.Minutes, colors[1]);
    FormatColorText(s.Seconds, colors[2]);
    FormatColorText(s.Date, colors[3]);
    char text[512];
    snprintf(text, sizeof text,
             "[Position]\nX=%d\nY=%d\nOnTop=%d\nShowDate=%d\n[Colors]\nHours=%s\nMinutes=%s\n"
             "Seconds=%s\nDate=%s\n",
             (int)s.X, (int)s.Y, s.OnTop, s.ShowDate, colors[0], colors[1], colors[2], colors[3]);
    return text;
}

inline bool SameRecord(const DialSettings& a, const DialSettings& b)
{
    return a.X == b.X && a.Y == b.Y && a.OnTop == b.OnTop && a.ShowDate == b.ShowDate &&
           a.Hours == b.Hours && a.Minutes == b.Minutes && a.Seconds == b.Seconds &&
           a.Date == b.Date;
}
