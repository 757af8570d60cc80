// Times the clock's drawing work with QueryPerformanceCounter: the cases run
// interleaved, several runs each, and print min, median and max in microseconds
// and the median as a multiple of the floor. The floor is the GDI call sequence
// that any draw of this clock must make: two memory DCs on the window DC, the
// scratch bitmap, the dial and scratch selections, one copy of the dial, three
// pens and their lines, one BitBlt to the window, and the clean-up.
#include "app.h"
#include "dialart.h"
#include "hands.h"
#include "render.h"
#include "screen.h"
#include "state.h"
#include "wndproc.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
static int Size = DIAL_SIZE; // the dial's side: 64 at 96 DPI

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

static void RequiredCalls(int i)
{
    HDC buffer = CreateCompatibleDC(WindowDC);
    HDC source = CreateCompatibleDC(WindowDC);
    HGDIOBJ oldSource = SelectObject(source, AppState.dialBitmap);
    HBITMAP scratch = CreateCompatibleBitmap(source, Size, Size); // like the dial
    HGDIOBJ oldBuffer = SelectObject(buffer, scratch);
    BitBlt(buffer, 0, 0, Size, Size, source, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    DeleteDC(source);
    const int widths[] = {3 * Size / DIAL_SIZE, 2 * Size / DIAL_SIZE, Size / DIAL_SIZE};
    HGDIOBJ oldPen = nullptr;
    for (int hand = 0; hand < 3; hand++) {
        HPEN pen = CreatePen(PS_SOLID, widths[hand], 0x00C0FFFF);
        HGDIOBJ previous = SelectObject(buffer, pen);
        if (hand == 0) {
            oldPen = previous;
        } else {
            DeleteObject(previous);
        }
        int scale = Size / DIAL_SIZE;
        MoveToEx(buffer, 32 * scale, 32 * scale, nullptr);
        LineTo(buffer, (32 + (i + hand * 7) % 25) * scale, (8 + hand * 4) * scale);
    }
    DeleteObject(SelectObject(buffer, oldPen));
    BitBlt(WindowDC, 0, 0, Size, Size, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, oldBuffer);
    DeleteObject(scratch);
    DeleteDC(buffer);
}

// The part of the floor that the two bitmap selections make: into two kept
// memory DCs and out again, with nothing created and nothing drawn.
static HDC KeptBuffer;
static HDC KeptSource;
static HBITMAP KeptScratch;

static void SelectionsOnly(int)
{
    HGDIOBJ oldBuffer = SelectObject(KeptBuffer, KeptScratch);
    HGDIOBJ oldSource = SelectObject(KeptSource, AppState.dialBitmap);
    SelectObject(KeptSource, oldSource);
    SelectObject(KeptBuffer, oldBuffer);
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

static double OneRun(const Case& c)
{
    GdiFlush();
    double start = Now();
    for (int i = 0; i < c.repetitions; i++) {
        c.work(i);
    }
    GdiFlush();
    return (Now() - start) / c.repetitions * 1e6;
}

// The program's own start-up, in-process: prepared, shown, painted, destroyed.
// At the larger scale the clock is moved to a screen of that DPI right after it
// is prepared, so its dial is built twice: an upper bound of the start-up there.
static double StartUpOnce(HINSTANCE instance, UINT dpi)
{
    double start = Now();
    memset(&AppState, 0, sizeof AppState);
    HWND window = PrepareClock(instance, nullptr);
    if (dpi != AppState.dpi) {
        int size = ScaleForDpi(DIAL_SIZE, dpi);
        RECT rect = {0, 0, size, size};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&rect);
    }
    ShowWindow(window, SW_SHOWNA);
    UpdateWindow(window);
    DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    return (Now() - start) * 1e3;
}

static void StartUpAtBothScales(HINSTANCE instance)
{
    UINT dpi = (UINT)MulDiv(96, Size, DIAL_SIZE);
    std::vector<double> base, scaled;
    for (int run = 0; run < 21; run++) { // interleaved
        base.push_back(StartUpOnce(instance, 96));
        scaled.push_back(StartUpOnce(instance, dpi));
    }
    std::sort(base.begin(), base.end());
    std::sort(scaled.begin(), scaled.end());
    printf("\n%-42s %9s %9s %9s %9s\n", "start-up (ms, 21 interleaved runs)", "min", "median",
           "max", "x 100 %");
    printf("%-42s %9.3f %9.3f %9.3f %9.2f\n", "at 100 %, dial 64", base[0], base[10], base[20],
           1.0);
    printf("at %3u %%, dial %3d, built twice %17.3f %9.3f %9.3f %9.2f\n", dpi * 100 / 96, Size,
           scaled[0], scaled[10], scaled[20], scaled[10] / base[10]);
}

// bench_render [SIZE]: the dial at SIZE pixels (64, or 128 for 200 %).
int main(int argc, char** argv)
{
    if (argc > 1) {
        Size = atoi(argv[1]);
    }
    // The clock as WinMain starts it, moved to a screen of the DPI of SIZE.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    Window = PrepareClock(instance, nullptr);
    if (Size != AppState.dialSize) {
        UINT dpi = (UINT)MulDiv((int)BASE_DPI, Size, DIAL_SIZE);
        RECT rect = {0, 0, Size, Size};
        SendMessageA(Window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&rect);
    }
    KillTimer(Window, AppState.timerId);
    ShowWindow(Window, SW_SHOWNORMAL);
    WindowDC = GetDC(Window);
    HandleTick(Window, TimeOf(1));

    KeptBuffer = CreateCompatibleDC(WindowDC);
    KeptSource = CreateCompatibleDC(WindowDC);
    KeptScratch = CreateCompatibleBitmap(WindowDC, Size, Size);
    const Case cases[] = {
        {"floor: the GDI calls any draw must make", 2000, RequiredCalls},
        {"  of it: the two bitmap selections", 2000, SelectionsOnly},
        {"DrawHands into the window DC", 2000, DrawHandsCase},
        {"BuildDialBitmap, numerals", 300, BuildPlain},
        {"BuildDialBitmap, date label", 300, BuildLabelled},
        {"tick in the same second (draws nothing)", 200000, IdleTick},
    };
    const int count = sizeof cases / sizeof cases[0];
    std::vector<double> runs[count];
    for (int run = 0; run < RUNS; run++) { // interleaved: every case in every run
        for (int c = 0; c < count; c++) {
            runs[c].push_back(OneRun(cases[c]));
        }
    }
    printf("%-42s %9s %9s %9s %9s\n", "case (us per call, 7 interleaved runs)", "min", "median",
           "max", "x floor");
    double floor = 0;
    for (int c = 0; c < count; c++) {
        std::sort(runs[c].begin(), runs[c].end());
        double median = runs[c][RUNS / 2];
        if (floor == 0) {
            floor = median;
        }
        printf("%-42s %9.3f %9.3f %9.3f %9.2f\n", cases[c].name, runs[c][0], median,
               runs[c][RUNS - 1], median / floor);
    }

    DeleteObject(KeptScratch);
    DeleteDC(KeptSource);
    DeleteDC(KeptBuffer);
    ReleaseDC(Window, WindowDC);
    DestroyWindow(Window);
    if (Size != DIAL_SIZE) {
        StartUpAtBothScales(instance);
    }
    return 0;
}
