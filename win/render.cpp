// Dial rendering through GDI. Every object made here is selected, used, selected
// back and deleted within the call; only the dial bitmap lives on, in AppState.
#include "render.h"

#include "datetext.h"
#include "dialart.h"
#include "hands.h"
#include "resource.h"
#include "state.h"

#include <stdlib.h>
#include <math.h>
#include <string.h>

// Where the day.month label goes on the 64-pixel dial: one line, centred, its top at y = 35.
const int LABEL_TOP = 35;
// The face shown when there is no dial bitmap to draw on.
static const COLORREF FALLBACK_FACE = RGB(19, 0, 96);

// The label's font: 8 points at the given vertical DPI (11 pixels at 96).
static void FillLabelFont(LOGFONTA* font, int pixelsPerInchY)
{
    memset(font, 0, sizeof *font);
    font->lfHeight = -MulDiv(8, pixelsPerInchY, 72);
    font->lfWeight = FW_THIN;
    font->lfCharSet = ANSI_CHARSET;
    font->lfOutPrecision = OUT_DEVICE_PRECIS;
    font->lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font->lfQuality = PROOF_QUALITY;
    font->lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    strcpy(font->lfFaceName, "Arial");
}

void PaintDialLabel(HDC dc, const SYSTEMTIME& date, COLORREF color, UINT dpi, int size)
{
    LOGFONTA fontRecord;
    FillLabelFont(&fontRecord, (int)dpi);
    HFONT font = CreateFontIndirectA(&fontRecord);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);

    char text[DIAL_DATE_SIZE];
    FormatDialDate(date, text);
    RECT rect = {0, MulDiv(LABEL_TOP, size, DIAL_SIZE), size, size};
    DrawTextA(dc, text, (int)strlen(text), &rect, DT_SINGLELINE | DT_CENTER);

    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// A 32-bit DIB of size x size pixels, rows top down, as RenderDial writes them
// and BlendHand reads them.
static void DescribeTopDownDib(BITMAPINFO* info, int size)
{
    memset(info, 0, sizeof *info);
    info->bmiHeader.biSize = sizeof info->bmiHeader;
    info->bmiHeader.biWidth = size;
    info->bmiHeader.biHeight = -size;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biCompression = BI_RGB;
}

// The dial drawn at size pixels from its description, as a bitmap of the screen's format.
static HBITMAP DrawDialBitmap(int size, bool numerals)
{
    uint32_t* pixels = (uint32_t*)malloc((size_t)size * size * sizeof *pixels);
    if (pixels == nullptr) {
        return nullptr;
    }
    RenderDial(size, numerals, pixels);
    BITMAPINFO info;
    DescribeTopDownDib(&info, size);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    if (bitmap != nullptr) {
        SetDIBits(screen, bitmap, 0, (UINT)size, pixels, &info, DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
    free(pixels);
    return bitmap;
}

void BuildDialBitmapOn(const SYSTEMTIME& localTime)
{
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) {
        return;
    }
    bool label = AppState.settings.ShowDate != 0;
    int size = AppState.dialSize;
    if (size == DIAL_SIZE) {
        int resource = label ? IDB_DIAL_PLAIN : IDB_DIAL_NUMERALS;
        AppState.dialBitmap = LoadBitmapA(AppState.hInstance, MAKEINTRESOURCEA(resource));
    } else {
        AppState.dialBitmap = DrawDialBitmap(size, !label);
    }
    if (AppState.dialBitmap != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(memory, AppState.dialBitmap);
        if (label) {
            PaintDialLabel(memory, localTime, AppState.settings.Date, AppState.dpi, size);
        }
        SelectObject(memory, oldBitmap);
    }
    DeleteDC(memory);
}

void BuildDialBitmap()
{
    SYSTEMTIME localTime;
    GetLocalTime(&localTime);
    BuildDialBitmapOn(localTime);
}

void DeleteDialBitmap()
{
    if (AppState.dialBitmap != nullptr) {
        DeleteObject(AppState.dialBitmap);
        AppState.dialBitmap = nullptr;
    }
}

// Fills the buffer's square with the dial: the dial bitmap, or a plain dark face
// when there is none.
static void ComposeDial(HDC buffer, HDC source, int size)
{
    if (AppState.dialBitmap != nullptr) {
        HGDIOBJ oldSourceBitmap = SelectObject(source, AppState.dialBitmap);
        BitBlt(buffer, 0, 0, size, size, source, 0, 0, SRCCOPY);
        SelectObject(source, oldSourceBitmap);
    } else {
        RECT square = {0, 0, size, size};
        HBRUSH face = CreateSolidBrush(FALLBACK_FACE);
        FillRect(buffer, &square, face);
        DeleteObject(face);
    }
}

// At 100 %: the hands as lines of GDI pens, the dial's own look.
static void DrawHandLines(HDC buffer, const HandSegment hands[HAND_COUNT])
{
    HPEN pen = CreatePen(PS_SOLID, hands[0].penWidth, hands[0].color);
    HGDIOBJ firstPen = SelectObject(buffer, pen);
    for (int i = 0; i < HAND_COUNT; i++) {
        if (i > 0) {
            HPEN next = CreatePen(PS_SOLID, hands[i].penWidth, hands[i].color);
            SelectObject(buffer, next);
            DeleteObject(pen);
            pen = next;
        }
        MoveToEx(buffer, hands[i].startX, hands[i].startY, nullptr);
        LineTo(buffer, hands[i].endX, hands[i].endY);
    }
    SelectObject(buffer, firstPen);
    DeleteObject(pen);
}

static int Within(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

// One hand as a capsule of its pen's width from the hub to the tip, blended over
// the pixels (0x00RRGGBB, rows top down) by how much of each it covers: the
// distance from the pixel's centre to the segment, against half the width. The
// end points are pixel centres, as for GDI's lines.
static void BlendHand(uint32_t* pixels, int size, const HandSegment& hand)
{
    double half = (hand.penWidth > 1 ? hand.penWidth : 1) / 2.0;
    double x0 = hand.startX, y0 = hand.startY;
    double dx = hand.endX - x0, dy = hand.endY - y0;
    double lengthSquared = dx * dx + dy * dy;
    int reach = (int)half + 2;
    int left = Within((hand.startX < hand.endX ? hand.startX : hand.endX) - reach, 0, size - 1);
    int right = Within((hand.startX > hand.endX ? hand.startX : hand.endX) + reach, 0, size - 1);
    int top = Within((hand.startY < hand.endY ? hand.startY : hand.endY) - reach, 0, size - 1);
    int bottom = Within((hand.startY > hand.endY ? hand.startY : hand.endY) + reach, 0, size - 1);
    const double color[3] = {(double)GetBValue(hand.color), (double)GetGValue(hand.color),
                             (double)GetRValue(hand.color)};
    for (int y = top; y <= bottom; y++) {
        for (int x = left; x <= right; x++) {
            double t = lengthSquared > 0 ? ((x - x0) * dx + (y - y0) * dy) / lengthSquared : 0;
            t = t < 0 ? 0 : (t > 1 ? 1 : t);
            double ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
            double cover = half + 0.5 - sqrt(ex * ex + ey * ey);
            if (cover <= 0) {
                continue;
            }
            cover = cover > 1 ? 1 : cover;
            uint32_t pixel = pixels[y * size + x], blended = 0;
            for (int channel = 0; channel < 3; channel++) {
                double under = pixel >> (8 * channel) & 255;
                blended |= (uint32_t)(under + (color[channel] - under) * cover + 0.5)
                           << (8 * channel);
            }
            pixels[y * size + x] = blended;
        }
    }
}

// Dial and hands composed in the buffer's bitmap, then handed to the target in
// one transfer. At 100 % the buffer is of the screen's format and the hands GDI
// lines; above, it is a 32-bit DIB and the hands are blended with coverage.
void DrawHands(HDC targetDC, const SYSTEMTIME& time)
{
    int size = AppState.dialSize;
    HandSegment hands[HAND_COUNT];
    ComputeHandsAt(time, AppState.settings, size, hands);
    bool smooth = size != DIAL_SIZE;

    HDC buffer = CreateCompatibleDC(targetDC);
    if (buffer == nullptr) {
        return;
    }
    HDC source = CreateCompatibleDC(targetDC);
    if (source == nullptr) {
        DeleteDC(buffer);
        return;
    }
    uint32_t* pixels = nullptr;
    HBITMAP scratch;
    if (smooth) {
        BITMAPINFO info;
        DescribeTopDownDib(&info, size);
        scratch = CreateDIBSection(targetDC, &info, DIB_RGB_COLORS, (void**)&pixels, nullptr, 0);
    } else {
        scratch = CreateCompatibleBitmap(targetDC, size, size);
    }
    if (scratch != nullptr) {
        HGDIOBJ oldBufferBitmap = SelectObject(buffer, scratch);
        ComposeDial(buffer, source, size);
        if (smooth) {
            GdiFlush(); // the dial is in the pixels before they are read
            for (int i = 0; i < HAND_COUNT; i++) {
                BlendHand(pixels, size, hands[i]);
            }
        } else {
            DrawHandLines(buffer, hands);
        }
        BitBlt(targetDC, 0, 0, size, size, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, oldBufferBitmap);
        DeleteObject(scratch);
    }
    DeleteDC(source);
    DeleteDC(buffer);
}

void PaintCurrentTime(HDC targetDC)
{
    SYSTEMTIME localTime;
    GetLocalTime(&localTime);
    DrawHands(targetDC, localTime);
}
