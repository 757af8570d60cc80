// Loading and saving DialSettings through the platform's private profile functions.
#include "settings.h"

#include "colortext.h"

#include <sddl.h>

static const char POSITION_SECTION[] = "Position";
static const char COLORS_SECTION[] = "Colors";

// Enough for any signed 32-bit value with its sign and the ending zero.
const int INTEGER_TEXT_SIZE = 12;

static int32_t ReadIntegerSetting(const char* key)
{
    UINT value = GetPrivateProfileIntA(POSITION_SECTION, key, 0, PROFILE_FILE_NAME);
    return (int32_t)value;
}

static void WriteIntegerSetting(const char* key, int32_t value)
{
    char text[INTEGER_TEXT_SIZE];
    FormatText(text, "%d", (int)value);
    WritePrivateProfileStringA(POSITION_SECTION, key, text, PROFILE_FILE_NAME);
}

COLORREF ReadColorSetting(const char* key, COLORREF defaultColor)
{
    char defaultText[COLOR_TEXT_SIZE];
    FormatColorText(defaultColor, defaultText);
    char text[COLOR_TEXT_SIZE];
    GetPrivateProfileStringA(COLORS_SECTION, key, defaultText, text, sizeof text,
                             PROFILE_FILE_NAME);
    text[COLOR_TEXT_SIZE - 1] = '\0';
    return ParseColorText(text);
}

void WriteColorSetting(const char* key, COLORREF color)
{
    char text[COLOR_TEXT_SIZE];
    FormatColorText(color, text);
    WritePrivateProfileStringA(COLORS_SECTION, key, text, PROFILE_FILE_NAME);
}

DialSettings LoadSettings()
{
    DialSettings settings;
    settings.X = ReadIntegerSetting("X");
    settings.Y = ReadIntegerSetting("Y");
    settings.OnTop = ReadIntegerSetting("OnTop") != 0 ? 1 : 0;
    settings.ShowDate = ReadIntegerSetting("ShowDate") != 0 ? 1 : 0;
    settings.Hours = ReadColorSetting("Hours", DEFAULT_COLOR);
    settings.Minutes = ReadColorSetting("Minutes", DEFAULT_COLOR);
    settings.Seconds = ReadColorSetting("Seconds", DEFAULT_COLOR);
    settings.Date = ReadColorSetting("Date", DEFAULT_COLOR);
    return settings;
}

// The save lock, shared by every user: without a path the file is the Windows
// folder's, which on XP all users' sessions share. A mutex in the "Global\"
// namespace needs no privilege ("Kernel Object Namespaces"). Other users' clocks
// need no more than to wait on it and let it go: its DACL grants everyone
// SYNCHRONIZE and MUTEX_MODIFY_STATE and nothing else, never a NULL DACL, which
// would let anyone take it over ("Creating a DACL"). Where it exists, CreateMutexA
// asks for all access, which that DACL refuses; it is then opened for what it
// grants ("CreateMutexA": ERROR_ACCESS_DENIED, use OpenMutex).
HANDLE OpenSaveLock()
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(SAVE_LOCK_DACL, SDDL_REVISION_1,
                                                             &descriptor, nullptr)) {
        attributes.lpSecurityDescriptor = descriptor;
    }
    HANDLE lock = CreateMutexA(&attributes, FALSE, SAVE_LOCK_NAME);
    if (lock == nullptr && GetLastError() == ERROR_ACCESS_DENIED) {
        lock = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, SAVE_LOCK_NAME);
    }
    LocalFree(descriptor);
    return lock;
}

// Several clocks share the file, and a save is eight separate writes: two clocks
// closed at once would mix their records or cut lines. A save holds the lock of
// all clocks while it writes. One left by a clock that died mid-save (abandoned)
// counts as taken; one that cannot be had in time, or made (the name belongs to
// another kind of object, or creation is refused), is done without: the end of a
// session must never hang, and the settings are written all the same.
void SaveSettings(const DialSettings& settings)
{
    HANDLE lock = OpenSaveLock();
    DWORD waited = lock != nullptr ? WaitForSingleObject(lock, SAVE_LOCK_WAIT_MS) : WAIT_FAILED;
    WriteIntegerSetting("X", settings.X);
    WriteIntegerSetting("Y", settings.Y);
    WriteIntegerSetting("OnTop", settings.OnTop != 0 ? 1 : 0);
    WriteIntegerSetting("ShowDate", settings.ShowDate != 0 ? 1 : 0);
    WriteColorSetting("Hours", settings.Hours);
    WriteColorSetting("Minutes", settings.Minutes);
    WriteColorSetting("Seconds", settings.Seconds);
    WriteColorSetting("Date", settings.Date);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        ReleaseMutex(lock);
    }
    if (lock != nullptr) {
        CloseHandle(lock);
    }
}
