// Dial rendering with real GDI: pixels of the hands, the dial and the label.
#include "app.h"
#include "gdi_count.h"
#include "dialart.h"
#include "hands.h"
#include "render.h"
#include "resource.h"
#include "save_counter.h"
#include "screen.h"
#include "state.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <vector>

const COLORREF HOUR_COLOR = RGB(255, 0, 0);
const COLORREF MINUTE_COLOR = RGB(0, 255, 0);
const COLORREF SECOND_COLOR = RGB(0, 0, 255);
const COLORREF DATE_COLOR = RGB(255, 0, 255);

// A 64 x 64 32-bit target whose pixels the test can read.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    uint32_t* bits; // 0x00RRGGBB, top-down
};

static Canvas MakeCanvas()
{
    Canvas canvas = {};
    HDC screen = GetDC(nullptr);
    canvas.dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = DIAL_SIZE;
    info.bmiHeader.biHeight = -DIAL_SIZE;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    canvas.bitmap =
        CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, (void**)&canvas.bits, nullptr, 0);
    canvas.old = SelectObject(canvas.dc, canvas.bitmap);
    return canvas;
}

static void FreeCanvas(Canvas& canvas)
{
    SelectObject(canvas.dc, canvas.old);
    DeleteObject(canvas.bitmap);
    DeleteDC(canvas.dc);
}

static uint32_t Pixel(const Canvas& canvas, int x, int y)
{
    GdiFlush();
    return canvas.bits[y * DIAL_SIZE + x] & 0x00FFFFFF;
}

static uint32_t AsPixel(COLORREF color)
{
    return (uint32_t)(GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color));
}

static SYSTEMTIME Time(int day, int month, int hour, int minute, int second)
{
    return MakeTime(2026, month, day, hour, minute, second);
}

class Render : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        AppState.hInstance = GetModuleHandleA(nullptr);
        SizeClock(POINT{0, 0}, BASE_DPI);
        AppState.settings.Hours = HOUR_COLOR;
        AppState.settings.Minutes = MINUTE_COLOR;
        AppState.settings.Seconds = SECOND_COLOR;
        AppState.settings.Date = DATE_COLOR;
        AppState.settings.ShowDate = 0;
        DeleteDialBitmap();
        BuildDialBitmapOn(Time(8, 12, 12, 0, 0));
    }
    void TearDown() override { DeleteDialBitmap(); }
};

// The dial bitmap alone, as the hands are drawn over it.
static Canvas DialOnly()
{
    Canvas canvas = MakeCanvas();
    HDC source = CreateCompatibleDC(canvas.dc);
    HGDIOBJ old = SelectObject(source, AppState.dialBitmap);
    BitBlt(canvas.dc, 0, 0, DIAL_SIZE, DIAL_SIZE, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    return canvas;
}

static double DistanceToSegment(double px, double py, const HandSegment& hand)
{
    double dx = hand.endX - hand.startX;
    double dy = hand.endY - hand.startY;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - hand.startX) * dx + (py - hand.startY) * dy) / length2 : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return hypot(px - (hand.startX + t * dx), py - (hand.startY + t * dy));
}

TEST_F(Render, HandsLieAlongTheirSegmentsOverAnUnchangedDial)
{
    const int times[][3] = {{10, 10, 20}, {3, 0, 0},    {6, 30, 15}, {9, 45, 30},
                            {15, 15, 45}, {23, 59, 59}, {0, 0, 0},   {7, 21, 44}};
    Canvas dial = DialOnly();
    for (const auto& t : times) {
        SYSTEMTIME time = Time(8, 12, t[0], t[1], t[2]);
        HandSegment hands[HAND_COUNT];
        ComputeHands(time, AppState.settings, hands);
        Canvas canvas = MakeCanvas();
        DrawHands(canvas.dc, time);
        const COLORREF colors[HAND_COUNT] = {HOUR_COLOR, MINUTE_COLOR, SECOND_COLOR};
        for (int i = 0; i < HAND_COUNT; i++) {
            // Points along the hand, short of its last pixel, that no later hand covers.
            int checked = 0;
            for (double f = 0.2; f <= 0.85; f += 0.05) {
                int x = (int)lround(32 + f * (hands[i].endX - 32));
                int y = (int)lround(32 + f * (hands[i].endY - 32));
                bool covered = false;
                for (int j = i + 1; j < HAND_COUNT; j++) {
                    covered = covered || DistanceToSegment(x, y, hands[j]) < 2.5;
                }
                if (!covered) {
                    // The platform's line may step a pixel beside the ideal one.
                    bool found = false;
                    for (int dy = -1; dy <= 1; dy++) {
                        for (int dx = -1; dx <= 1; dx++) {
                            found = found || Pixel(canvas, x + dx, y + dy) == AsPixel(colors[i]);
                        }
                    }
                    EXPECT_TRUE(found) << t[0] << ":" << t[1] << ":" << t[2] << " hand " << i
                                       << " at " << x << "," << y;
                    checked++;
                }
            }
            if (i == 2) {
                EXPECT_GT(checked, 5) << "the second hand is on top of the others";
            }
        }
        // Where all three meet, the second hand is on top.
        EXPECT_EQ(Pixel(canvas, 32, 32), AsPixel(SECOND_COLOR));
        for (int y = 0; y < DIAL_SIZE; y++) {
            for (int x = 0; x < DIAL_SIZE; x++) {
                bool away = true;
                for (const HandSegment& hand : hands) {
                    away = away && DistanceToSegment(x, y, hand) > 2.5;
                }
                if (away) {
                    ASSERT_EQ(Pixel(canvas, x, y), Pixel(dial, x, y)) << x << "," << y;
                }
            }
        }
        FreeCanvas(canvas);
    }
    FreeCanvas(dial);
}

TEST_F(Render, EveryCallCoversTheWholeSquareTheSameWay)
{
    SYSTEMTIME time = Time(8, 12, 10, 10, 20);
    Canvas first = MakeCanvas();
    Canvas second = MakeCanvas();
    for (int i = 0; i < DIAL_SIZE * DIAL_SIZE; i++) {
        first.bits[i] = 0x00FF00FF;
        second.bits[i] = 0x0000FFFF;
    }
    DrawHands(first.dc, time);
    DrawHands(second.dc, time);
    for (int y = 0; y < DIAL_SIZE; y++) {
        for (int x = 0; x < DIAL_SIZE; x++) {
            ASSERT_EQ(Pixel(first, x, y), Pixel(second, x, y)) << x << "," << y;
        }
    }
    FreeCanvas(first);
    FreeCanvas(second);
}

static const uint32_t NUMERAL_ONE = 0x00D2D2D0; // the "1" of 12

static int CountPixels(const Canvas& canvas, uint32_t color, int top, int bottom)
{
    int count = 0;
    for (int y = top; y <= bottom; y++) {
        for (int x = 0; x < DIAL_SIZE; x++) {
            count += Pixel(canvas, x, y) == color;
        }
    }
    return count;
}

TEST_F(Render, DateLabelReplacesTheNumeralsAndIsCentredBelowTheMiddle)
{
    SYSTEMTIME time = Time(8, 12, 0, 0, 0);
    Canvas plain = DialOnly();
    EXPECT_GT(CountPixels(plain, NUMERAL_ONE, 10, 17), 0) << "numerals with the label off";
    EXPECT_EQ(CountPixels(plain, AsPixel(DATE_COLOR), 0, 63), 0) << "no label with it off";
    FreeCanvas(plain);

    AppState.settings.ShowDate = 1;
    DeleteDialBitmap();
    BuildDialBitmapOn(time);
    Canvas labelled = DialOnly();
    EXPECT_EQ(CountPixels(labelled, NUMERAL_ONE, 10, 17), 0) << "no numerals with the label";
    int left = 99, right = -1, top = 99, bottom = -1, count = 0;
    for (int y = 0; y < DIAL_SIZE; y++) {
        for (int x = 0; x < DIAL_SIZE; x++) {
            if (Pixel(labelled, x, y) == AsPixel(DATE_COLOR)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                count++;
            }
        }
    }
    ASSERT_GT(count, 10) << "the label 8.12 is painted in the Date colour";
    // Around the glyphs the dial shows through: every pixel the label changed lies
    // between the plain dial's colour and the Date colour (no box behind the text).
    HBITMAP labelledDial = AppState.dialBitmap;
    AppState.dialBitmap = LoadBitmapA(AppState.hInstance, MAKEINTRESOURCEA(IDB_DIAL_PLAIN));
    Canvas bare = DialOnly();
    DeleteDialBitmap();
    AppState.dialBitmap = labelledDial;
    int outside = 0;
    for (int i = 0; i < DIAL_SIZE * DIAL_SIZE; i++) {
        for (int shift = 0; shift < 24; shift += 8) {
            int got = labelled.bits[i] >> shift & 0xFF;
            int dial = bare.bits[i] >> shift & 0xFF;
            int ink = AsPixel(DATE_COLOR) >> shift & 0xFF;
            outside += got < std::min(dial, ink) - 8 || got > std::max(dial, ink) + 8;
        }
    }
    EXPECT_EQ(outside, 0) << "pixels of neither the dial nor the label";
    // The label is 8 points high as characters, not as cells: its ink as tall as
    // that of the same text drawn here in an 8-point character height.
    HFONT reference = CreateFontA(
        -MulDiv(8, GetDeviceCaps(bare.dc, LOGPIXELSY), 72), 0, 0, 0, FW_THIN, 0, 0, 0, ANSI_CHARSET,
        OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
    HGDIOBJ oldFont = SelectObject(bare.dc, reference);
    SetTextColor(bare.dc, DATE_COLOR);
    SetBkMode(bare.dc, TRANSPARENT);
    TextOutA(bare.dc, 20, 35, "8.12", 4);
    SelectObject(bare.dc, oldFont);
    DeleteObject(reference);
    int referenceTop = 99, referenceBottom = -1;
    for (int y = 0; y < DIAL_SIZE; y++) {
        for (int x = 0; x < DIAL_SIZE; x++) {
            if (Pixel(bare, x, y) == AsPixel(DATE_COLOR)) {
                referenceTop = std::min(referenceTop, y);
                referenceBottom = std::max(referenceBottom, y);
            }
        }
    }
    FreeCanvas(bare);
    EXPECT_EQ(bottom - top, referenceBottom - referenceTop) << "ink height";
    EXPECT_GE(top, 35);
    EXPECT_LE(top, 39);
    EXPECT_LE(bottom - top, 12) << "one line";
    EXPECT_NEAR((left + right + 1) / 2.0, 32.0, 2.0) << "centred about x = 32";
    EXPECT_GE(right - left, 8) << "four characters wide";

    // Another date gives another label; the same date the same one.
    Canvas again = DialOnly();
    EXPECT_EQ(memcmp(again.bits, labelled.bits, DIAL_SIZE * DIAL_SIZE * 4), 0);
    FreeCanvas(again);
    DeleteDialBitmap();
    BuildDialBitmapOn(Time(31, 10, 0, 0, 0));
    Canvas other = DialOnly();
    EXPECT_NE(memcmp(other.bits, labelled.bits, DIAL_SIZE * DIAL_SIZE * 4), 0);
    FreeCanvas(other);
    FreeCanvas(labelled);
}

// Watches the program's memory DCs: a GDI object deleted while still selected
// into one of them is counted (Wine, like Windows, then keeps it alive unseen).
static std::vector<HDC> LiveDCs;
static int DeletedWhileSelected;
static FARPROC RealCreateDC, RealDeleteDC, RealDeleteObject;

static HDC WINAPI WatchedCreateCompatibleDC(HDC dc)
{
    HDC made = ((HDC(WINAPI*)(HDC))(void*)RealCreateDC)(dc);
    LiveDCs.push_back(made);
    return made;
}

static BOOL WINAPI WatchedDeleteDC(HDC dc)
{
    LiveDCs.erase(std::remove(LiveDCs.begin(), LiveDCs.end(), dc), LiveDCs.end());
    return ((BOOL(WINAPI*)(HDC))(void*)RealDeleteDC)(dc);
}

static BOOL WINAPI WatchedDeleteObject(HGDIOBJ object)
{
    for (HDC dc : LiveDCs) {
        for (UINT type : {OBJ_BITMAP, OBJ_FONT, OBJ_PEN, OBJ_BRUSH}) {
            DeletedWhileSelected += GetCurrentObject(dc, type) == object;
        }
    }
    return ((BOOL(WINAPI*)(HGDIOBJ))(void*)RealDeleteObject)(object);
}

TEST_F(Render, TheDialBitmapIsSelectedNowhereAfterAnyCall)
{
    if (RealDeleteObject == nullptr) {
        RealCreateDC = PatchImport("gdi32.dll", "CreateCompatibleDC",
                                   (FARPROC)(void*)&WatchedCreateCompatibleDC);
        RealDeleteDC = PatchImport("gdi32.dll", "DeleteDC", (FARPROC)(void*)&WatchedDeleteDC);
        RealDeleteObject =
            PatchImport("gdi32.dll", "DeleteObject", (FARPROC)(void*)&WatchedDeleteObject);
    }
    ASSERT_TRUE(RealCreateDC && RealDeleteDC && RealDeleteObject);
    DeletedWhileSelected = 0;
    Canvas canvas = MakeCanvas();
    for (int showDate = 0; showDate < 2; showDate++) {
        AppState.settings.ShowDate = (uint8_t)showDate;
        DeleteDialBitmap();
        BuildDialBitmap();
        DrawHands(canvas.dc, Time(8, 12, 1, 2, 3));
        PaintCurrentTime(canvas.dc);
        HDC fresh = CreateCompatibleDC(canvas.dc);
        HGDIOBJ old = SelectObject(fresh, AppState.dialBitmap);
        EXPECT_NE(old, nullptr) << "a bitmap still selected elsewhere cannot be selected";
        SelectObject(fresh, old);
        DeleteDC(fresh);
    }
    FreeCanvas(canvas);
    EXPECT_EQ(DeletedWhileSelected, 0) << "an object deleted while still selected";
}

TEST_F(Render, NoDialBitmapStillShowsTheHandsOnADarkFace)
{
    // A build that cannot load its bitmap leaves the field empty.
    DeleteDialBitmap();
    AppState.hInstance = GetModuleHandleA("kernel32.dll");
    BuildDialBitmap();
    EXPECT_EQ(AppState.dialBitmap, nullptr);

    Canvas canvas = MakeCanvas();
    DrawHands(canvas.dc, Time(8, 12, 10, 10, 20));
    EXPECT_EQ(Pixel(canvas, 32, 32), AsPixel(SECOND_COLOR));
    EXPECT_EQ(Pixel(canvas, 61, 61), Pixel(canvas, 2, 2)) << "the face fills the square";
    EXPECT_GT(CountPixels(canvas, AsPixel(HOUR_COLOR), 0, 63), 5);
    EXPECT_GT(CountPixels(canvas, AsPixel(MINUTE_COLOR), 0, 63), 5);
    uint32_t face = Pixel(canvas, 5, 5);
    EXPECT_LT((face >> 16) + ((face >> 8) & 0xFF) + (face & 0xFF), 200u) << "a dark face";
    FreeCanvas(canvas);
}

TEST(GdiCount, SeesALeakedPen)
{
    long before = CountGdiObjects();
    ASSERT_GT(before, 0);
    HPEN leaked = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(CountGdiObjects(), before + 1);
    DeleteObject(leaked);
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(Render, DrawingAndRebuildingLeakNoGdiObject)
{
    HDC screen = GetDC(nullptr);
    AppState.settings.ShowDate = 1;
    DeleteDialBitmap();
    BuildDialBitmap();
    DrawHands(screen, Time(8, 12, 0, 0, 0)); // warm up lazily made objects
    long before = CountGdiObjects();
    for (int i = 0; i < 10000; i++) {
        DrawHands(screen, Time(8, 12, i / 3600 % 24, i / 60 % 60, i % 60));
    }
    for (int i = 0; i < 1000; i++) {
        AppState.settings.ShowDate = (uint8_t)(i % 2);
        DeleteDialBitmap();
        BuildDialBitmapOn(Time(1 + i % 28, 1 + i % 12, 0, 0, 0));
    }
    long after = CountGdiObjects();
    printf("GDI objects before %ld, after %ld\n", before, after);
    EXPECT_EQ(after, before);
    ReleaseDC(nullptr, screen);
}
