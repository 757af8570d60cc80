// The few Windows value types the dial logic uses. With <windows.h> present they
// are the platform's own; elsewhere (the native build of the pure parts) they are
// defined here with the same sizes.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <stdint.h>
typedef uint32_t COLORREF;
typedef uint16_t WORD;
typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME;
#endif

static_assert(sizeof(COLORREF) == 4, "COLORREF is 32 bits");
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is eight 16-bit fields");
