// The number of GDI objects this process owns. Windows answers GetGuiResources;
// Wine's is a stub, so there the live entries of the GDI handle table that Wine
// publishes through the PEB (GdiSharedHandleTable) are counted.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

// An entry of Wine's GDI handle table: 0x10000 entries of 24 bytes. The table is
// the process's own (Wine leaves the owner at 0); a live entry has a type.
struct WineGdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t loader;
};
static_assert(sizeof(WineGdiHandleEntry) == 24, "Wine's GDI_HANDLE_ENTRY is 24 bytes");
const int WINE_GDI_HANDLE_COUNT = 0x10000;

// The process's PEB, from NtQueryInformationProcess (ProcessBasicInformation).
inline const uint8_t* ProcessPeb()
{
    struct BasicInformation {
        LONG_PTR exitStatus;
        const uint8_t* pebBaseAddress;
        ULONG_PTR rest[4];
    } information = {};
    typedef LONG(WINAPI * QueryFunction)(HANDLE, int, void*, ULONG, ULONG*);
    QueryFunction query = (QueryFunction)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                                               "NtQueryInformationProcess");
    if (query == nullptr ||
        query(GetCurrentProcess(), 0, &information, sizeof information, nullptr) != 0) {
        return nullptr;
    }
    return information.pebBaseAddress;
}

inline const WineGdiHandleEntry* WineGdiHandleTable()
{
    const uint8_t* peb = ProcessPeb();
    if (peb == nullptr) {
        return nullptr;
    }
#ifdef _WIN64
    const size_t offset = 0xF8;
#else
    const size_t offset = 0x94;
#endif
    return *(const WineGdiHandleEntry* const*)(peb + offset);
}

inline long CountGdiObjects()
{
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count != 0) {
        return (long)count;
    }
    const WineGdiHandleEntry* table = WineGdiHandleTable();
    if (table == nullptr) {
        return -1;
    }
    long live = 0;
    for (int i = 0; i < WINE_GDI_HANDLE_COUNT; i++) {
        if (table[i].type != 0 && table[i].object != 0) {
            live++;
        }
    }
    return live;
}
