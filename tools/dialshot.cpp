// Renders the dial at a chosen time and settings into a BMP file, at 100 % or
// another scale (DPI 96 is 64 x 64, 192 is 128 x 128):
//   dialshot HH:MM:SS DAY.MONTH SHOWDATE OUT.bmp [DPI]
// It draws with the program's own BuildDialBitmap and DrawHands.
#include "app.h"
#include "dialart.h"
#include "hands.h"
#include "render.h"
#include "screen.h"
#include "state.h"

#include <stdio.h>
#include <stdlib.h>

static bool WriteBitmap(HDC dc, HBITMAP bitmap, int size, const char* path)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    static unsigned char pixels[MAX_DPI * 2 / 3 * MAX_DPI * 2 / 3 * 4];
    DWORD bytes = (DWORD)(size * size * 4);
    if (!GetDIBits(dc, bitmap, 0, (UINT)size, pixels, &info, DIB_RGB_COLORS)) {
        return false;
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + bytes;
    FILE* out = fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    fwrite(&file, sizeof file, 1, out);
    fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    fwrite(pixels, bytes, 1, out);
    return fclose(out) == 0;
}

int main(int argc, char** argv)
{
    SYSTEMTIME time = {};
    int hour, minute, second, day, month;
    if (argc < 5 || argc > 6 || sscanf(argv[1], "%d:%d:%d", &hour, &minute, &second) != 3 ||
        sscanf(argv[2], "%d.%d", &day, &month) != 2) {
        fprintf(stderr, "usage: dialshot HH:MM:SS DAY.MONTH SHOWDATE OUT.bmp [DPI]\n");
        return 2;
    }
    time.wYear = 2026;
    time.wMonth = (WORD)month;
    time.wDay = (WORD)day;
    time.wHour = (WORD)hour;
    time.wMinute = (WORD)minute;
    time.wSecond = (WORD)second;
    AppState.hInstance = GetModuleHandleA(nullptr);
    SizeClock(POINT{0, 0}, argc == 6 ? (UINT)atoi(argv[5]) : BASE_DPI);
    int size = AppState.dialSize;
    AppState.settings.ShowDate = atoi(argv[3]) != 0;
    AppState.settings.Hours = AppState.settings.Minutes = AppState.settings.Seconds =
        AppState.settings.Date = 0x00C0FFFF;
    BuildDialBitmapOn(time);

    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(target, bitmap);
    DrawHands(target, time);
    SelectObject(target, old);
    bool ok = WriteBitmap(target, bitmap, size, argv[4]);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    DeleteDialBitmap();
    return ok ? 0 : 1;
}
