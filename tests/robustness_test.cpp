// A simulated day on the real window, and the faults a desk clock meets: a file it
// cannot write, a dial it cannot build, a GDI heap with no room left.
#include "gdi_count.h"
#include "window_fixture.h"

#include <psapi.h>

#include <vector>

// The process's committed private memory. Windows counts it in PrivateUsage;
// Wine leaves that 0, so there the committed private regions are added up.
static SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&counters, sizeof counters);
    if (counters.PrivateUsage != 0) {
        return counters.PrivateUsage;
    }
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* address = nullptr;
    while (VirtualQuery(address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        const char* next = (const char*)region.BaseAddress + region.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return total;
}

TEST(PrivateMemory, CountSeesAnAllocationThatStaysInUse)
{
    SIZE_T before = PrivateBytes();
    ASSERT_GT(before, 0u);
    void* block = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(PrivateBytes(), before + (1 << 20));
    VirtualFree(block, 0, MEM_RELEASE);
    EXPECT_LT(PrivateBytes(), before + (1 << 20));
}

// The colour at a dial point as the window shows it.
static COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

TEST_F(Window, ADayOfTicksAndAThousandRebuildsLeaksNothing)
{
    Send(WM_COMMAND, IDM_SHOWDATE);
    ASSERT_EQ(AppState.settings.ShowDate, 1);
    // Warm up: one of everything before the counts are taken.
    HandleTick(window, MakeTime(2026, 12, 8, 11, 59, 58));
    Send(WM_COMMAND, IDM_SHOWDATE);
    Send(WM_COMMAND, IDM_SHOWDATE);
    long objectsBefore = CountGdiObjects();
    SIZE_T memoryBefore = PrivateBytes();

    // 86,400 ticks, each in a new second, from noon to noon across midnight.
    int midnights = 0;
    for (int i = 0; i < 86400; i++) {
        int second = (12 * 3600 + i) % 86400;
        int day = i < 12 * 3600 ? 8 : 9;
        HandleTick(window, MakeTime(2026, 12, day, second / 3600, second / 60 % 60, second % 60));
        midnights += i == 12 * 3600;
        ASSERT_EQ(AppState.lastDrawn.wSecond, second % 60) << "tick " << i;
    }
    EXPECT_EQ(midnights, 1);
    EXPECT_EQ(AppState.lastDrawn.wDay, 9);
    for (int i = 0; i < 1000; i++) {
        Send(WM_COMMAND, IDM_SHOWDATE); // each one deletes and rebuilds the dial
    }
    ASSERT_EQ(AppState.settings.ShowDate, 1);

    long objectsAfter = CountGdiObjects();
    SIZE_T memoryAfter = PrivateBytes();
    long long growth = (long long)memoryAfter - (long long)memoryBefore;
    printf("soak: GDI objects %ld -> %ld; private memory %lu -> %lu bytes (%+lld)\n", objectsBefore,
           objectsAfter, (unsigned long)memoryBefore, (unsigned long)memoryAfter, growth);
    EXPECT_EQ(objectsAfter, objectsBefore);
    EXPECT_LT(growth, 64 * 1024);
}

TEST_F(Window, ABlockedFileCrashesNothingAndTheFirstSaveAfterWritesAllKeys)
{
    RemoveProfile();
    ASSERT_TRUE(CreateDirectoryA(ProfilePath().c_str(), nullptr));
    AppState.settings.Hours = RGB(10, 20, 30);
    for (int i = 1; i <= 5; i++) {
        Send(WM_COMMAND, IDM_ONTOP);
        Send(WM_QUERYENDSESSION);
        HandleTick(window, MakeTime(2026, 12, 8, 10, 0, i));
        EXPECT_EQ(AppState.lastDrawn.wSecond, i) << "the clock keeps ticking";
    }
    EXPECT_TRUE(GetFileAttributesA(ProfilePath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(RemoveDirectoryA(ProfilePath().c_str()));

    Send(WM_COMMAND, IDM_SHOWDATE);
    ASSERT_TRUE(ProfileWasWritten());
    DialSettings saved = LoadSettings();
    EXPECT_EQ(saved.OnTop, 1);
    EXPECT_EQ(saved.ShowDate, 1);
    EXPECT_EQ(saved.Hours, RGB(10, 20, 30));
    EXPECT_EQ(saved.X, AppState.settings.X);
}

TEST_F(Window, ADialThatCannotBeBuiltLeavesAClockThatStillTellsTime)
{
    // The resources cannot be found: every rebuild fails to load the dial.
    AppState.hInstance = GetModuleHandleA("kernel32.dll");
    Send(WM_COMMAND, IDM_SHOWDATE);
    EXPECT_EQ(AppState.dialBitmap, nullptr);
    HandleTick(window, MakeTime(2026, 12, 9, 3, 0, 1));
    EXPECT_EQ(WindowPixel(window, 32, 32), AppState.settings.Seconds);
    EXPECT_EQ(AppState.dialBitmap, nullptr);

    AppState.hInstance = GetModuleHandleA(nullptr);
    Send(WM_COMMAND, IDM_SHOWDATE);
    EXPECT_NE(AppState.dialBitmap, nullptr) << "the next rebuild recovers";
}

TEST_F(Window, AnExhaustedGdiHeapCrashesNothingAndTheClockRecovers)
{
    HandleTick(window, MakeTime(2026, 12, 8, 10, 0, 1));
    COLORREF face = WindowPixel(window, 16, 16);

    std::vector<HPEN> hoard;
    for (;;) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
        if (pen == nullptr) {
            break;
        }
        hoard.push_back(pen);
        ASSERT_LT(hoard.size(), 200000u) << "GDI never ran out";
    }
    printf("GDI heap exhausted after %zu pens\n", hoard.size());
    for (int second = 2; second < 6; second++) {
        HandleTick(window, MakeTime(2026, 12, 8, 10, 0, second));
        Send(WM_COMMAND, IDM_SHOWDATE); // a rebuild with no room
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    for (HPEN pen : hoard) {
        DeleteObject(pen);
    }
    hoard.clear();

    // Back to a dial without the label, then a tick draws it whole again.
    if (AppState.settings.ShowDate) {
        Send(WM_COMMAND, IDM_SHOWDATE);
    } else {
        Send(WM_COMMAND, IDM_SHOWDATE);
        Send(WM_COMMAND, IDM_SHOWDATE);
    }
    ASSERT_NE(AppState.dialBitmap, nullptr);
    HandleTick(window, MakeTime(2026, 12, 8, 10, 0, 7));
    EXPECT_EQ(WindowPixel(window, 16, 16), face);
    EXPECT_EQ(WindowPixel(window, 32, 32), AppState.settings.Seconds);
}
