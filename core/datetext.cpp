// Date texts of the dial label and the tooltip.
#include "datetext.h"

void FormatDialDate(const SYSTEMTIME& localTime, char* buffer)
{
    // At most "65535.65535" and its ending zero: 12 bytes.
    FormatText(buffer, "%d.%02d", (int)localTime.wDay, (int)localTime.wMonth);
}

#ifdef _WIN32
void FormatTooltipDateOf(const SYSTEMTIME& localTime, wchar_t* buffer)
{
    int written = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &localTime, nullptr, buffer,
                                 TOOLTIP_TEXT_SIZE);
    if (written != 0) {
        return;
    }
    // At most "65535.65535.65535" and its ending zero: 18 characters, all ASCII.
    char fallback[24];
    FormatText(fallback, "%d.%d.%d", (int)localTime.wDay, (int)localTime.wMonth,
               (int)localTime.wYear);
    int i = 0;
    for (; fallback[i] != 0; i++) {
        buffer[i] = (wchar_t)fallback[i];
    }
    buffer[i] = 0;
}

void FormatTooltipDate(wchar_t* buffer)
{
    SYSTEMTIME localTime;
    GetLocalTime(&localTime);
    FormatTooltipDateOf(localTime, buffer);
}
#endif
