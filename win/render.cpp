// Dial rendering through GDI. Every object made here is selected, used, selected
// back and deleted within the call; only the dial bitmap lives on, in AppState.
#include "render.h"

#include "datetext.h"
#include "hands.h"
#include "resource.h"
#include "state.h"

#include <string.h>

// Where the day.month label goes: one line, centred, its top at y = 35.
static const RECT LABEL_RECT = {0, 35, DIAL_SIZE, DIAL_SIZE};
// The face shown when there is no dial bitmap to draw on.
static const COLORREF FALLBACK_FACE = RGB(19, 0, 96);

int LabelFontHeight(int pixelsPerInchY)
{
    return MulDiv(8, pixelsPerInchY, 72);
}

static void FillLabelFont(LOGFONTA* font, int pixelsPerInchY)
{
    memset(font, 0, sizeof *font);
    font->lfHeight = -LabelFontHeight(pixelsPerInchY);
    font->lfWeight = FW_THIN;
    font->lfCharSet = ANSI_CHARSET;
    font->lfOutPrecision = OUT_DEVICE_PRECIS;
    font->lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font->lfQuality = PROOF_QUALITY;
    font->lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    strcpy(font->lfFaceName, "Arial");
}

void PaintDialLabel(HDC dc, const SYSTEMTIME& date, COLORREF color)
{
    LOGFONTA fontRecord;
    FillLabelFont(&fontRecord, GetDeviceCaps(dc, LOGPIXELSY));
    HFONT font = CreateFontIndirectA(&fontRecord);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);

    char text[DIAL_DATE_SIZE];
    FormatDialDate(date, text);
    RECT rect = LABEL_RECT;
    DrawTextA(dc, text, (int)strlen(text), &rect, DT_SINGLELINE | DT_CENTER);

    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void BuildDialBitmapOn(const SYSTEMTIME& localTime)
{
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) {
        return;
    }
    int resource = AppState.settings.ShowDate ? IDB_DIAL_PLAIN : IDB_DIAL_NUMERALS;
    AppState.dialBitmap = LoadBitmapA(AppState.hInstance, MAKEINTRESOURCEA(resource));
    if (AppState.dialBitmap != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(memory, AppState.dialBitmap);
        if (AppState.settings.ShowDate) {
            PaintDialLabel(memory, localTime, AppState.settings.Date);
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
// when there is none. Returns the scratch bitmap now selected into buffer.
static HBITMAP ComposeDial(HDC targetDC, HDC buffer, HDC source, HGDIOBJ* oldBufferBitmap)
{
    HBITMAP scratch;
    if (AppState.dialBitmap != nullptr) {
        HGDIOBJ oldSourceBitmap = SelectObject(source, AppState.dialBitmap);
        scratch = CreateCompatibleBitmap(source, DIAL_SIZE, DIAL_SIZE);
        *oldBufferBitmap = SelectObject(buffer, scratch);
        BitBlt(buffer, 0, 0, DIAL_SIZE, DIAL_SIZE, source, 0, 0, SRCCOPY);
        SelectObject(source, oldSourceBitmap);
    } else {
        scratch = CreateCompatibleBitmap(targetDC, DIAL_SIZE, DIAL_SIZE);
        *oldBufferBitmap = SelectObject(buffer, scratch);
        RECT square = {0, 0, DIAL_SIZE, DIAL_SIZE};
        HBRUSH face = CreateSolidBrush(FALLBACK_FACE);
        FillRect(buffer, &square, face);
        DeleteObject(face);
    }
    return scratch;
}

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

void DrawHands(HDC targetDC, const SYSTEMTIME& time)
{
    HandSegment hands[HAND_COUNT];
    ComputeHands(time, AppState.settings, hands);

    HDC buffer = CreateCompatibleDC(targetDC);
    if (buffer == nullptr) {
        return;
    }
    HDC source = CreateCompatibleDC(targetDC);
    if (source == nullptr) {
        DeleteDC(buffer);
        return;
    }
    HGDIOBJ oldBufferBitmap = nullptr;
    HBITMAP scratch = ComposeDial(targetDC, buffer, source, &oldBufferBitmap);
    DeleteDC(source);

    DrawHandLines(buffer, hands);
    BitBlt(targetDC, 0, 0, DIAL_SIZE, DIAL_SIZE, buffer, 0, 0, SRCCOPY);

    SelectObject(buffer, oldBufferBitmap);
    DeleteObject(scratch);
    DeleteDC(buffer);
}

void PaintCurrentTime(HDC targetDC)
{
    SYSTEMTIME localTime;
    GetLocalTime(&localTime);
    DrawHands(targetDC, localTime);
}
