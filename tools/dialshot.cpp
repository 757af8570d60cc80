// Renders the dial at a chosen time and settings into a 64 x 64 BMP file:
//   dialshot HH:MM:SS DAY.MONTH SHOWDATE OUT.bmp
// It draws with the program's own BuildDialBitmap and DrawHands.
#include "render.h"
#include "state.h"

#include <stdio.h>
#include <stdlib.h>

static bool WriteBitmap(HDC dc, HBITMAP bitmap, const char* path)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 64;
    info.bmiHeader.biHeight = 64;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    static unsigned char pixels[64 * 64 * 3];
    if (!GetDIBits(dc, bitmap, 0, 64, pixels, &info, DIB_RGB_COLORS)) {
        return false;
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + sizeof pixels;
    FILE* out = fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    fwrite(&file, sizeof file, 1, out);
    fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    fwrite(pixels, sizeof pixels, 1, out);
    return fclose(out) == 0;
}

int main(int argc, char** argv)
{
    SYSTEMTIME time = {};
    int hour, minute, second, day, month;
    if (argc != 5 || sscanf(argv[1], "%d:%d:%d", &hour, &minute, &second) != 3 ||
        sscanf(argv[2], "%d.%d", &day, &month) != 2) {
        fprintf(stderr, "usage: dialshot HH:MM:SS DAY.MONTH SHOWDATE OUT.bmp\n");
        return 2;
    }
    time.wYear = 2026;
    time.wMonth = (WORD)month;
    time.wDay = (WORD)day;
    time.wHour = (WORD)hour;
    time.wMinute = (WORD)minute;
    time.wSecond = (WORD)second;
    AppState.hInstance = GetModuleHandleA(nullptr);
    AppState.settings.ShowDate = atoi(argv[3]) != 0;
    AppState.settings.Hours = AppState.settings.Minutes = AppState.settings.Seconds =
        AppState.settings.Date = 0x00C0FFFF;
    BuildDialBitmapOn(time);

    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    HGDIOBJ old = SelectObject(target, bitmap);
    DrawHands(target, time);
    SelectObject(target, old);
    bool ok = WriteBitmap(target, bitmap, argv[4]);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    DeleteDialBitmap();
    return ok ? 0 : 1;
}
