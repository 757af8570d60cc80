// Colour texts as a user or an older file may hold them, and the colours they read as.
#pragma once

#include "colortext.h"

struct ColorTextCase {
    const char* text;
    COLORREF color;
};

static const ColorTextCase COLOR_TEXT_CASES[] = {
    {"255, 255, 192", 0x00C0FFFF},
    {"0,128,255", 0x00FF8000},
    {"12 ,  34 ,  56", 0x0038220C},
    {"255", 0x000000FF},
    {"1,2", 0x00000201},
    {"1,,3", 0x00030001},
    {", 5, 6", 0x00060500},
    {"1, 2, 3, 4", 0x00030201},
    {"300, -1, 256", 0x0000FF2C},
    {"-1,-1,-1", 0x00FFFFFF},
    {"+5, +6, +7", 0x00070605},
    {"- 5, 6, 7", 0x00070600},
    {"#FFFFC0", 0x00000000},
    {"", 0x00000000},
    {"-56, 4294967297, 0", 0x000001C8},         // wraps around in 32 bits
    {"99999999999999999999, 7, 8", 0x000807FF}, // 10^20 - 1 wraps to 0x630FFFFF
    {"\t\n\v\f\r 9,\t10", 0x00000A09},
    {"\xA0"
     "5, 6, 7",
     0x00070600}, // a byte of 128 or above is no white space
};
