// Date texts of the dial label and the tooltip.
#include "datetext.h"


void FormatDialDate(const SYSTEMTIME& localTime, char* buffer)
{
    // At most "65535.65535" and its ending zero: 12 bytes.
    FormatText(buffer, "%d.%02d", (int)localTime.wDay, (int)localTime.wMonth);
}

#ifdef _WIN32
void FormatTooltipDateOf(const SYSTEMTIME& localTime, char* buffer)
{
    int written = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &localTime, nullptr,
                                 buffer, TOOLTIP_TEXT_SIZE);
    if (written == 0) {
        FormatText(buffer, "%d.%d.%d", (int)localTime.wDay, (int)localTime.wMonth,
                  (int)localTime.wYear);
    }
}

void FormatTooltipDate(char* buffer)
{
    SYSTEMTIME localTime;
    GetLocalTime(&localTime);
    FormatTooltipDateOf(localTime, buffer);
}
#endif
