// The two date texts: the dial's day.month label and the tooltip's long date.
#pragma once

#include "wintypes.h"

// The label buffer the renderer provides.
const int DIAL_DATE_SIZE = 32;
// The tooltip's text buffer in wide characters, ending zero included. The longest
// long date of any locale measured under Wine is 68 characters (Ngiemboon, of
// 910 locales, over every month and weekday); room for about twice that.
const int TOOLTIP_TEXT_SIZE = 128;

// "%d.%02d" of wDay and wMonth, e.g. "8.12". buffer holds DIAL_DATE_SIZE bytes.
void FormatDialDate(const SYSTEMTIME& localTime, char* buffer);

#ifdef _WIN32
// The user locale's long date of today in wide characters, whatever the ANSI code
// page, or "day.month.year" when it does not fit (or cannot be had). buffer
// holds TOOLTIP_TEXT_SIZE wide characters.
void FormatTooltipDate(wchar_t* buffer);

// The same for a given local time: what FormatTooltipDate does after reading the clock.
void FormatTooltipDateOf(const SYSTEMTIME& localTime, wchar_t* buffer);
#endif
