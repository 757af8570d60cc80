// Drawing the dial: the dial bitmap with its date label, and dial plus hands
// composed off-screen and handed to the window in one transfer.
#pragma once

#include <windows.h>

// Paints the day.month label of date into the dial of size pixels held by dc,
// in a font of 8 points at dpi.
void PaintDialLabel(HDC dc, const SYSTEMTIME& date, COLORREF color, UINT dpi, int size);

// The dial at AppState.dialSize (numerals, or plain with the label of today when
// ShowDate is on) into AppState.dialBitmap: at 64 pixels loaded from the
// resources, at any other size drawn from the dial's description, never a
// bitmap enlarged. The caller has released the previous one.
void BuildDialBitmap();
// The same with the label of a given local date.
void BuildDialBitmapOn(const SYSTEMTIME& localTime);

// Deletes AppState.dialBitmap, if any, and clears the field.
void DeleteDialBitmap();

// Dial and hands of time, into the square (0, 0) to (size - 1, size - 1) of
// targetDC, size being AppState.dialSize.
void DrawHands(HDC targetDC, const SYSTEMTIME& time);

// DrawHands with the current local time.
void PaintCurrentTime(HDC targetDC);
