// Colour texts "%d, %d, %d" (red, green, blue), as the profile file holds them.
#pragma once

#include "wintypes.h"

// Longest colour text the store hands back, plus the ending zero.
const int COLOR_TEXT_SIZE = 40;

// Colour text "%d, %d, %d" (red, green, blue); the top byte is dropped.
// buffer must hold COLOR_TEXT_SIZE bytes.
void FormatColorText(COLORREF color, char* buffer);

// Reads a colour text: three decimal numbers separated by commas, each taken
// modulo 256; missing parts are 0. Never fails.
COLORREF ParseColorText(const char* text);
