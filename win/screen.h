// The screen the clock stands on: its monitors' work areas and DPI, the clock's
// sizes at that DPI (at 96 every size is the one the dial is drawn for), and a
// place on screen for it.
#pragma once

#include <windows.h>

const UINT BASE_DPI = 96;
// The DPIs the clock is drawn for, 100 % to 500 %: a DPI outside (0 from a
// failed call, an absurd value in a message) is brought into this range.
const UINT MIN_DPI = 96;
const UINT MAX_DPI = 480;

UINT SaneDpi(UINT dpi);

// A length of the 96-DPI clock at dpi, rounded to nearest.
int ScaleForDpi(int value, UINT dpi);

// The dial's side in pixels at dpi: 64 scaled, never larger than the work area.
int DialPixels(UINT dpi, const RECT& work);

// The clock's window rectangle for the square of side side at corner that it is
// to take (its stored place at start-up, the window itself when it is seen
// again, Windows' suggestion on a DPI change): as large as the clock is at *dpi,
// or where *dpi is 0 at the DPI of the monitor that holds most of the square
// ("Mixed-Mode DPI Scaling and DPI-aware APIs"), within that monitor's work
// area, and on screen (PlaceOnScreen). *dpi becomes the DPI it is sized for.
RECT FitClock(POINT corner, int side, UINT* dpi);

// Where the window of size x size pixels goes for a stored top-left corner:
// unchanged when any part of the square lies on a monitor, else inside the
// nearest monitor's work area.
POINT PlaceOnScreen(int x, int y, int size);
