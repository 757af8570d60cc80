// The persisted settings and the profile file "tavik.ini" that holds them.
#pragma once

#include "wintypes.h"

#include <stdint.h>

#define PROFILE_FILE_NAME "tavik.ini"

// Pale yellow RGB(255, 255, 192), the default of all four colours.
const COLORREF DEFAULT_COLOR = 0x00C0FFFF;

struct DialSettings {
    int32_t X;
    int32_t Y;
    uint8_t OnTop;    // 0 or 1
    uint8_t ShowDate; // 0 or 1
    COLORREF Hours;
    COLORREF Minutes;
    COLORREF Seconds;
    COLORREF Date;
};

#ifdef _WIN32
// The lock that every clock of every session holds while it saves, so that the
// eight writes of two saves never interleave; a save waits for it at most
// SAVE_LOCK_WAIT_MS and then writes all the same.
#define SAVE_LOCK_NAME "Global\\Tavik.tavik.ini.save"
const DWORD SAVE_LOCK_WAIT_MS = 2000;

// The save lock's DACL: everyone may wait on it and let it go (SYNCHRONIZE and
// MUTEX_MODIFY_STATE), and do nothing else.
#define SAVE_LOCK_DACL "D:(A;;0x00100001;;;WD)"

// The save lock, created with SAVE_LOCK_DACL, or opened for what it grants where
// another clock made it; null where it can be neither (the name taken by another
// kind of object, say).
HANDLE OpenSaveLock();

// These go to the platform's private profile functions.
DialSettings LoadSettings();
void SaveSettings(const DialSettings& settings);
COLORREF ReadColorSetting(const char* key, COLORREF defaultColor);
void WriteColorSetting(const char* key, COLORREF color);
#endif
