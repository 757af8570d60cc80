// Where the date tooltip shows: centred below the clock, always whole on screen.
#pragma once

#include <windows.h>

// The tooltip's window rectangle for a tip of the given size: centred 2 pixels
// below the clock, above it where the work area ends below, and moved sideways
// or up and down so that it lies wholly inside the work area.
RECT TooltipRect(const RECT& clock, SIZE tip, const RECT& work);

// Moves and sizes the shown tooltip to TooltipRect for its whole text, in the
// work area of the clock's monitor. For TTN_SHOW; the tooltip itself would
// centre the tip under the clock and cut it short at the screen's edge.
void PlaceTooltip(HWND tooltip, HWND clock);
