// Import patching, and the count of the program's saves that it makes possible.
// The real WritePrivateProfileStringA still does every write: this module's
// import slot is pointed at a wrapper that notes each save (its first write,
// "Position"/"X") and calls on. A note is taken of what the window had done by
// then, so that tests can check the order of WM_DESTROY's steps.
#pragma once

#include "state.h"

#include <windows.h>

#include <string.h>

struct SaveLog {
    int saves;
    bool quitPostedBeforeLastSave;
    bool dialAliveAtLastSave;
};

inline SaveLog& Saves()
{
    static SaveLog log;
    return log;
}

typedef BOOL(WINAPI* WriteProfileFunction)(LPCSTR, LPCSTR, LPCSTR, LPCSTR);

inline WriteProfileFunction& RealWriteProfile()
{
    static WriteProfileFunction real;
    return real;
}

inline BOOL WINAPI CountingWriteProfile(LPCSTR section, LPCSTR key, LPCSTR text, LPCSTR file)
{
    if (section != nullptr && key != nullptr && strcmp(section, "Position") == 0 &&
        strcmp(key, "X") == 0) {
        SaveLog& log = Saves();
        log.saves++;
        MSG quit;
        log.quitPostedBeforeLastSave = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
        log.dialAliveAtLastSave = AppState.dialBitmap != nullptr;
    }
    return RealWriteProfile()(section, key, text, file);
}

// Points this module's import of the given system function at replacement and
// returns the real function, or null if this module does not import it.
inline FARPROC PatchImport(const char* dll, const char* name, FARPROC replacement)
{
    BYTE* base = (BYTE*)GetModuleHandleA(nullptr);
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    FARPROC target = GetProcAddress(GetModuleHandleA(dll), name);
    for (IMAGE_IMPORT_DESCRIPTOR* d = (IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress);
         d->Name != 0; d++) {
        for (IMAGE_THUNK_DATA* slot = (IMAGE_THUNK_DATA*)(base + d->FirstThunk);
             slot->u1.Function != 0; slot++) {
            if ((FARPROC)slot->u1.Function != target) {
                continue;
            }
            DWORD old;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
            slot->u1.Function = (ULONG_PTR)replacement;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
            return target;
        }
    }
    return nullptr;
}

// Points this module's import of KERNEL32!WritePrivateProfileStringA at the
// counting wrapper. Returns false if the import was not found.
inline bool CountSaves()
{
    if (RealWriteProfile() == nullptr) {
        RealWriteProfile() = (WriteProfileFunction)(void*)PatchImport(
            "kernel32.dll", "WritePrivateProfileStringA", (FARPROC)(void*)&CountingWriteProfile);
    }
    return RealWriteProfile() != nullptr;
}
