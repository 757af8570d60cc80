// Times the clock's drawing work with QueryPerformanceCounter and prints the
// median of several runs, in microseconds and as a multiple of the floor: two
// bare 64 x 64 BitBlts, the least any double-buffered draw must cost.
#include "app.h"
#include "hands.h"
#include "render.h"
#include "state.h"
#include "wndproc.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

const int RUNS = 7;

static double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return (double)count.QuadPart / (double)frequency.QuadPart;
}

struct Case {
    const char* name;
    int repetitions;
    void (*work)(int i);
};

static HWND Window;
static HDC WindowDC;
static HDC FloorSource;
static HDC FloorBuffer;

static SYSTEMTIME TimeOf(int i)
{
    SYSTEMTIME time = {};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 8;
    time.wHour = (WORD)(i / 3600 % 24);
    time.wMinute = (WORD)(i / 60 % 60);
    time.wSecond = (WORD)(i % 60);
    return time;
}

static void TwoBitBlts(int)
{
    BitBlt(FloorBuffer, 0, 0, DIAL_SIZE, DIAL_SIZE, FloorSource, 0, 0, SRCCOPY);
    BitBlt(WindowDC, 0, 0, DIAL_SIZE, DIAL_SIZE, FloorBuffer, 0, 0, SRCCOPY);
}

static void DrawHandsCase(int i)
{
    DrawHands(WindowDC, TimeOf(i));
}

static void BuildPlain(int)
{
    AppState.settings.ShowDate = 0;
    DeleteDialBitmap();
    BuildDialBitmap();
}

static void BuildLabelled(int)
{
    AppState.settings.ShowDate = 1;
    DeleteDialBitmap();
    BuildDialBitmap();
}

static void IdleTick(int)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wSecond = AppState.lastDrawn.wSecond; // the same second: nothing to draw
    HandleTick(Window, now);
}

static double MedianMicroseconds(const Case& c)
{
    std::vector<double> runs;
    for (int run = 0; run < RUNS; run++) {
        GdiFlush();
        double start = Now();
        for (int i = 0; i < c.repetitions; i++) {
            c.work(i);
        }
        GdiFlush();
        runs.push_back((Now() - start) / c.repetitions * 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return runs[RUNS / 2];
}

int main()
{
    InitCommonControls();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMainClass(instance);
    AppState.hInstance = instance;
    AppState.sysInitMessage = RegisterWindowMessageA("WM_SYSINIT");
    AppState.settings.Hours = AppState.settings.Minutes = AppState.settings.Seconds =
        AppState.settings.Date = 0x00C0FFFF;
    Window = CreateWindowExA(WS_EX_TOOLWINDOW, "TavikApp", "Tavik", WS_POPUP, 0, 0, DIAL_SIZE,
                             DIAL_SIZE, nullptr, nullptr, instance, nullptr);
    AppState.mainWindow = Window;
    SendMessageA(Window, AppState.sysInitMessage, 0, 0);
    KillTimer(Window, AppState.timerId);
    ShowWindow(Window, SW_SHOWNORMAL);
    WindowDC = GetDC(Window);
    HandleTick(Window, TimeOf(1));

    FloorSource = CreateCompatibleDC(WindowDC);
    FloorBuffer = CreateCompatibleDC(WindowDC);
    HBITMAP sourceBitmap = CreateCompatibleBitmap(WindowDC, DIAL_SIZE, DIAL_SIZE);
    HBITMAP bufferBitmap = CreateCompatibleBitmap(WindowDC, DIAL_SIZE, DIAL_SIZE);
    HGDIOBJ oldSource = SelectObject(FloorSource, sourceBitmap);
    HGDIOBJ oldBuffer = SelectObject(FloorBuffer, bufferBitmap);

    const Case cases[] = {
        {"floor: two bare 64x64 BitBlts", 2000, TwoBitBlts},
        {"DrawHands into the window DC", 2000, DrawHandsCase},
        {"BuildDialBitmap, numerals", 300, BuildPlain},
        {"BuildDialBitmap, date label", 300, BuildLabelled},
        {"tick in the same second (draws nothing)", 200000, IdleTick},
    };
    printf("%-42s %12s %10s\n", "case (median of 7 runs)", "us per call", "x floor");
    double floor = 0;
    for (const Case& c : cases) {
        double us = MedianMicroseconds(c);
        if (floor == 0) {
            floor = us;
        }
        printf("%-42s %12.3f %10.2f\n", c.name, us, us / floor);
    }

    SelectObject(FloorSource, oldSource);
    SelectObject(FloorBuffer, oldBuffer);
    DeleteObject(sourceBitmap);
    DeleteObject(bufferBitmap);
    DeleteDC(FloorSource);
    DeleteDC(FloorBuffer);
    ReleaseDC(Window, WindowDC);
    DestroyWindow(Window);
    return 0;
}
