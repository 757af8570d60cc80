// The date tooltip: created for the clock, told every new date, handed the
// clock's mouse moves, and shown centred below the clock, always whole on screen.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Fills the tool record: the main window is the tool, tooltipText its text.
void FillToolRecord(TOOLINFOW* tool);

// Creates the tooltip for AppState.mainWindow and adds the tool with today's date.
void CreateTooltip();

// The tooltip's font becomes the system's status font at dpi, the old one deleted.
void SetTooltipFont(UINT dpi);
// Deletes the tooltip's font, once the clock is gone.
void ReleaseTooltipFont();

// The tooltip's text becomes the long date of localTime.
void UpdateTooltipDate(const SYSTEMTIME& localTime);

// Hands the tooltip a mouse move over the clock, at a screen point as in
// WM_NCMOUSEMOVE's lParam, as the client mouse move it watches for.
void RelayMouseMoveToTooltip(HWND clock, LPARAM screenPoint);

// The tooltip's window rectangle for a tip of the given size: centred 2 pixels
// below the clock, above it where the work area ends below, and moved sideways
// or up and down so that it lies wholly inside the work area.
RECT TooltipRect(const RECT& clock, SIZE tip, const RECT& work);

// Moves the shown tooltip to TooltipRect in the work area of the clock's monitor,
// grown where needed to hold its whole text. For TTN_SHOW; the tooltip itself
// would centre the tip under the clock and cut it short at the screen's edge.
// False when it could not be placed (no size, no monitor): the control places it.
bool PlaceTooltip(HWND tooltip, HWND clock);

// Gives the tooltip window to another owner (null: none).
void SetTooltipOwner(HWND owner);
