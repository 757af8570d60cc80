// Helpers shared by the tests: times of day and the profile file in the Wine prefix.
#pragma once

#include "wintypes.h"

#include <stdio.h>

#include <string>

inline SYSTEMTIME MakeTime(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME time = {};
    time.wYear = (WORD)year;
    time.wMonth = (WORD)month;
    time.wDay = (WORD)day;
    time.wHour = (WORD)hour;
    time.wMinute = (WORD)minute;
    time.wSecond = (WORD)second;
    return time;
}

#ifdef _WIN32
#include "settings.h"

// Where the platform keeps the bare file name "tavik.ini": the Windows folder.
inline std::string ProfilePath()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + PROFILE_FILE_NAME;
}

// Flushes the profile cache so that the next call reads the file from disk.
inline void FlushProfileCache()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, PROFILE_FILE_NAME);
}

inline void RemoveProfile()
{
    FlushProfileCache();
    DeleteFileA(ProfilePath().c_str());
    RemoveDirectoryA(ProfilePath().c_str());
}

// Replaces the file with exactly these bytes.
inline bool WriteProfile(const std::string& content)
{
    RemoveProfile();
    FILE* file = fopen(ProfilePath().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    fwrite(content.data(), 1, content.size(), file);
    return fclose(file) == 0;
}

inline std::string ReadProfile()
{
    FlushProfileCache();
    std::string content;
    FILE* file = fopen(ProfilePath().c_str(), "rb");
    if (file == nullptr) {
        return content;
    }
    char chunk[4096];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0) {
        content.append(chunk, count);
    }
    fclose(file);
    return content;
}

inline std::string WithoutCarriageReturns(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}
#endif
