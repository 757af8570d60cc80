// Drawing the dial: the dial bitmap with its date label, and dial plus hands
// composed off-screen and handed to the window in one transfer.
#pragma once

#include <windows.h>

// Character height in pixels of the 8-point date label at the given vertical DPI.
int LabelFontHeight(int pixelsPerInchY);

// Paints the day.month label of date into the 64 x 64 dial held by dc.
void PaintDialLabel(HDC dc, const SYSTEMTIME& date, COLORREF color);

// Loads the dial (numerals, or plain with the label of today when ShowDate is on)
// into AppState.dialBitmap. The caller has released the previous one.
void BuildDialBitmap();
// The same with the label of a given local date.
void BuildDialBitmapOn(const SYSTEMTIME& localTime);

// Deletes AppState.dialBitmap, if any, and clears the field.
void DeleteDialBitmap();

// Dial and hands of time, into the square (0, 0)-(63, 63) of targetDC.
void DrawHands(HDC targetDC, const SYSTEMTIME& time);

// DrawHands with the current local time.
void PaintCurrentTime(HDC targetDC);
