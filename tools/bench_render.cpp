// Times the clock's drawing work with QueryPerformanceCounter: the cases run
// interleaved, several runs each, and print min, median and max in microseconds
// and the median as a multiple of the floor. The floor is the GDI call sequence
// that any draw of this clock must make: two memory DCs on the window DC, the
// scratch bitmap, the dial and scratch selections, one copy of the dial, three
// pens and their lines, one BitBlt to the window, and the clean-up.
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
    HBITMAP scratch = CreateCompatibleBitmap(source, DIAL_SIZE, DIAL_SIZE); // like the dial
    HGDIOBJ oldBuffer = SelectObject(buffer, scratch);
    BitBlt(buffer, 0, 0, DIAL_SIZE, DIAL_SIZE, source, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    DeleteDC(source);
    const int widths[] = {3, 2, 1};
    HGDIOBJ oldPen = nullptr;
    for (int hand = 0; hand < 3; hand++) {
        HPEN pen = CreatePen(PS_SOLID, widths[hand], 0x00C0FFFF);
        HGDIOBJ previous = SelectObject(buffer, pen);
        if (hand == 0) {
            oldPen = previous;
        } else {
            DeleteObject(previous);
        }
        MoveToEx(buffer, 32, 32, nullptr);
        LineTo(buffer, 32 + (i + hand * 7) % 25, 8 + hand * 4);
    }
    DeleteObject(SelectObject(buffer, oldPen));
    BitBlt(WindowDC, 0, 0, DIAL_SIZE, DIAL_SIZE, buffer, 0, 0, SRCCOPY);
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

    KeptBuffer = CreateCompatibleDC(WindowDC);
    KeptSource = CreateCompatibleDC(WindowDC);
    KeptScratch = CreateCompatibleBitmap(WindowDC, DIAL_SIZE, DIAL_SIZE);
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
    return 0;
}
