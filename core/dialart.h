// The dial's artwork, described once: the colour of every point of the dial,
// and the dial drawn from it at any size. The 64-pixel dial bitmaps of the
// resources are this drawing, reduced to their colour tables by tools/artgen.py.
#pragma once

#include <stdint.h>

// The dial's side in its own units, and in pixels at 100 % (96 DPI).
const int DIAL_SIZE = 64;

// Draws the dial, with or without the numerals 12, 3, 6 and 9, into size x size
// pixels: rows top to bottom, each pixel blue, green, red, 0 (a 32-bit DIB's
// order). At 64 the pixels are those of the artwork before its colours are reduced.
void RenderDial(int size, bool numerals, uint32_t* pixels);

// The colours the artwork keeps exactly when it reduces the dial to a colour
// table (black, the numerals, the tick at 12), as RenderDial stores them; returns
// how many were written (at most 8).
int DialExactColors(uint32_t colors[8]);

// The numerals of the 64-pixel dial as a mask, 1 where a numeral is: from the
// artwork's pixel glyphs, or from the outlines that every other size is drawn
// from (a pixel that half its samples or more fall on).
void NumeralMask(bool outlines, uint8_t mask[DIAL_SIZE * DIAL_SIZE]);
