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

// The formatter of every text the program writes: the platform's wsprintfA on
// Windows (the C library's printf machinery would double the program's size),
// sprintf elsewhere. Every buffer given to it holds the longest text its format
// can produce from its arguments.
#ifdef _WIN32
#define FormatText wsprintfA
#else
#include <stdio.h>
#define FormatText sprintf
#endif

static_assert(sizeof(COLORREF) == 4, "COLORREF is 32 bits");
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is eight 16-bit fields");
