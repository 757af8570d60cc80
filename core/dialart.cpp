// The dial: a deep blue face lit from the upper left, 60 ticks, a ribbed gold
// bezel, and numerals: the pixel glyphs of the 64-pixel artwork, their outlines
// at every other size. Coordinates are those of the 64-unit dial.
#include "dialart.h"

#include <math.h>

struct Color {
    double r, g, b;
};

static const Color FACE_LIGHT = {36, 5, 235};
static const Color FACE_CENTRE = {19, 0, 148};
static const Color FACE_DARK = {7, 0, 59};
static const Color TICK_LAVENDER = {153, 138, 249};
static const Color TICK_OLIVE = {190, 190, 126};
static const Color TICK_GREY = {109, 109, 109};
static const Color TICK_TWELVE = {245, 245, 236};
static const Color INNER_EDGE = {38, 34, 58};
static const Color BEZEL_INNER_BAND = {165, 142, 93};
static const Color BEZEL_DARK_BAND = {100, 90, 66};
static const Color BEZEL_OUTER_BAND = {154, 130, 81};
static const Color BEZEL_RIB_LIGHT = {182, 153, 86};
static const Color BEZEL_RIB_DARK = {133, 108, 70};
static const Color BEZEL_HIGHLIGHT = {220, 212, 170};
static const Color OUTER_EDGE = {51, 40, 21};
static const Color WHITE = {255, 255, 255};
static const Color BLACK = {0, 0, 0};
static const Color NUMERAL_TOP = {249, 249, 199};
static const Color NUMERAL_MIDDLE = {249, 249, 148};
static const Color NUMERAL_BOTTOM = {231, 231, 137};
static const Color NUMERAL_ONE = {210, 210, 208};

static const double PI = 3.141592653589793;
static const double SQRT2 = 1.4142135623730951;

// The centre, and the radii of the rings from it out, in dial units.
static const double CENTRE = DIAL_SIZE / 2.0;
static const double TICKS_INNER = 23.6; // no tick comes nearer the centre
static const double HOUR_TICK_INNER = 24.0;
static const double MINUTE_TICK_INNER = 25.5;
static const double FACE_OUTER = 27.0; // the face, whose gradient spans this radius
static const double TICKS_OUTER = 27.2;
static const double FACE_RIM = 27.3; // face and inner edge half and half
static const double INNER_EDGE_OUTER = 28.4;
static const double BEZEL_LIGHT_BAND_END = 29.0; // the bezel's inner light band ends,
static const double BEZEL_DARK_BAND_END = 30.0;  // its dark band turns to the outer one
static const double BEZEL_OUTER = 31.5;
static const double OUTER_EDGE_OUTER = 32.0;
static const double EDGE_FADE = 0.6;   // the outer edge fades to black over this
static const double DIAL_OUTER = 32.6; // black beyond (OUTER_EDGE_OUTER + EDGE_FADE)
// Half the width of a tick.
static const double HOUR_TICK_HALF_WIDTH = 1.0;
static const double MINUTE_TICK_HALF_WIDTH = 0.55;
// The 64-pixel artwork samples each pixel 4 x 4 times.
static const int ART_SAMPLES = 4;

static Color Lerp(const Color& a, const Color& b, double t)
{
    Color c = {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
    return c;
}

static double Clamp01(double t)
{
    return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
}

// A diagonal gradient, bright at the upper left, dark at the lower right.
static Color FaceColor(double dx, double dy)
{
    double t = (dx + dy) / (FACE_OUTER * SQRT2);
    if (t < 0) {
        return Lerp(FACE_CENTRE, FACE_LIGHT, Clamp01(-t));
    }
    return Lerp(FACE_CENTRE, FACE_DARK, Clamp01(t));
}

static Color TickColor(double angle, bool hour)
{
    if (hour && angle == 0) {
        return TICK_TWELVE;
    }
    // Light from the upper left: 1 facing it, -1 facing away.
    double light = (cos(angle) - sin(angle)) / SQRT2;
    Color color = light > 0.0 ? Lerp(TICK_OLIVE, TICK_LAVENDER, Clamp01(light * 2.0))
                              : Lerp(TICK_OLIVE, TICK_GREY, Clamp01(-light * 1.6));
    return hour ? Lerp(color, WHITE, 0.15) : color;
}

// value rounded to the nearest integer, halves to the even one, as the artwork
// was first rounded: any other rounding changes pixels of the committed
// bitmaps. For 0 <= value < 2^31, without the C library's rounding.
static int RoundHalfEven(double value)
{
    int whole = (int)value;
    double rest = value - whole;
    return whole + (rest > 0.5 || (rest == 0.5 && (whole & 1) != 0) ? 1 : 0);
}

// The remainder with the divisor's sign, as a floored modulo gives it.
static double FlooredMod(double value, double divisor)
{
    double mod = fmod(value, divisor);
    if (mod != 0 && (mod < 0) != (divisor < 0)) {
        mod += divisor;
    }
    return mod;
}

// The colours of the 60 ticks, as TickColor gives them.
struct TickColors {
    Color of[60];
    double cosine[60], sine[60]; // of each tick's angle
};

static void FillTickColors(TickColors* ticks)
{
    for (int index = 0; index < 60; index++) {
        ticks->of[index] = TickColor(index * PI / 30, index % 5 == 0);
        ticks->cosine[index] = cos(index * PI / 30);
        ticks->sine[index] = sin(index * PI / 30);
    }
}

// The tick covering the point, if any.
static bool TickAt(double dx, double dy, double r, const TickColors& ticks, Color* color)
{
    if (r < TICKS_INNER || r > TICKS_OUTER) {
        return false;
    }
    double angle = FlooredMod(atan2(dx, -dy), 2 * PI);
    int index = RoundHalfEven(angle / (PI / 30)) % 60;
    // The distance from the tick's centre line: r sin(angle - tick's angle).
    double across = dx * ticks.cosine[index] + dy * ticks.sine[index];
    bool hour = index % 5 == 0;
    double inner = hour ? HOUR_TICK_INNER : MINUTE_TICK_INNER;
    double halfWidth = hour ? HOUR_TICK_HALF_WIDTH : MINUTE_TICK_HALF_WIDTH;
    if (fabs(across) <= halfWidth && r >= inner) {
        *color = ticks.of[index];
        return true;
    }
    return false;
}

// sin(72 a) of the angle a whose cosine and sine are given: the imaginary part
// of (cos a + i sin a) to the 72nd power, from its 8th and 64th.
static double SineOf72Times(double cosine, double sine)
{
    double re = cosine, im = sine, re8 = 0, im8 = 0;
    for (int power = 2; power <= 64; power *= 2) {
        double square = re * re - im * im;
        im = 2 * re * im;
        re = square;
        if (power == 8) {
            re8 = re;
            im8 = im;
        }
    }
    return re * im8 + im * re8;
}

static Color BezelColor(double dx, double dy, double r)
{
    // Bands across the ring: light, dark, light.
    Color base;
    if (r < BEZEL_LIGHT_BAND_END) {
        base = Lerp(BEZEL_INNER_BAND, BEZEL_INNER_BAND, 0);
    } else if (r < BEZEL_DARK_BAND_END) {
        base = Lerp(BEZEL_INNER_BAND, BEZEL_DARK_BAND, r - BEZEL_LIGHT_BAND_END);
    } else {
        base = Lerp(BEZEL_DARK_BAND, BEZEL_OUTER_BAND, Clamp01(r - BEZEL_DARK_BAND_END));
    }
    // Fine ribs around the ring.
    double rib = SineOf72Times(-dy / r, dx / r); // the angle from 12, clockwise
    if (rib > 0.35) {
        base = Lerp(base, BEZEL_RIB_LIGHT, 0.55);
    } else if (rib < -0.35) {
        base = Lerp(base, BEZEL_RIB_DARK, 0.55);
    }
    // The bezel is a hollow: its lower right catches the light.
    double light = (dx + dy) / (r * SQRT2);
    if (light > 0.3) {
        base = Lerp(base, BEZEL_HIGHLIGHT, Clamp01((light - 0.3) * 1.1) * 0.8);
    } else if (light < -0.3) {
        base = Lerp(base, BEZEL_DARK_BAND, Clamp01(-light - 0.3) * 0.35);
    }
    return base;
}

static Color DialSample(double x, double y, const TickColors& ticks)
{
    double dx = x - CENTRE;
    double dy = y - CENTRE;
    double r = sqrt(dx * dx + dy * dy);
    Color tick;
    if (r <= FACE_OUTER) {
        return TickAt(dx, dy, r, ticks, &tick) ? tick : FaceColor(dx, dy);
    }
    if (r <= FACE_RIM) {
        return TickAt(dx, dy, r, ticks, &tick) ? tick : Lerp(FaceColor(dx, dy), INNER_EDGE, 0.5);
    }
    if (r <= INNER_EDGE_OUTER) {
        return INNER_EDGE;
    }
    if (r <= BEZEL_OUTER) {
        return BezelColor(dx, dy, r);
    }
    if (r <= OUTER_EDGE_OUTER) {
        return OUTER_EDGE;
    }
    if (r <= DIAL_OUTER) {
        return Lerp(OUTER_EDGE, BLACK, (r - OUTER_EDGE_OUTER) / EDGE_FADE);
    }
    return BLACK;
}

// Numerals eight units high; '#' is a stroke.
struct Glyph {
    const char* rows[8];
};
static const Glyph ONE = {{".##", "###", ".##", ".##", ".##", ".##", ".##", ".##"}};
static const Glyph TWO = {
    {".####.", "##..##", "....##", "...##.", "..##..", ".##...", "##....", "######"}};
static const Glyph THREE = {
    {".####.", "##..##", "....##", "..###.", "....##", "....##", "##..##", ".####."}};
static const Glyph SIX = {
    {"..###.", ".##...", "##....", "#####.", "##..##", "##..##", "##..##", ".####."}};
static const Glyph NINE = {
    {".####.", "##..##", "##..##", "##..##", ".#####", "....##", "...##.", ".###.."}};

// Top-left corner of each glyph: 12 in columns 28-36, 3 in 49-54, 6 in 29-34, 9 in 10-15.
static const struct {
    const Glyph* glyph;
    int left, top;
} NUMERALS[] = {{&ONE, 28, 10}, {&TWO, 31, 10}, {&THREE, 49, 28}, {&SIX, 29, 47}, {&NINE, 10, 28}};

// The numerals' outlines, for every size but the 64-pixel artwork's: strokes
// through the middle of each glyph's strokes, in units of its box (6 x 8, x to
// the right, y down), as wide as the glyphs' vertical strokes are: a pixel of the
// 64-pixel dial is covered where the glyph has it.
struct Point {
    double x, y;
};
static const double NUMERAL_HALF_STROKE = 0.75;
static const Point ONE_STEM[] = {{2, 0.25}, {2, 7.75}};
static const Point ONE_FLAG[] = {{0.6, 1.6}, {1.6, 0.6}};
static const Point TWO_LINE[] = {{1, 1.5}, {2, 0.5}, {4, 0.5}, {5, 1.5},
                                 {5, 2.5}, {1, 6.5}, {1, 7.5}, {5.25, 7.5}};
static const Point THREE_LINE[] = {{1, 1.5}, {2, 0.5}, {4, 0.5}, {5, 1.5}, {5, 2.5}, {4, 3.5},
                                   {5, 4.5}, {5, 6.5}, {4, 7.5}, {2, 7.5}, {1, 6.5}};
static const Point THREE_BAR[] = {{2.75, 3.5}, {4, 3.5}};
static const Point SIX_LINE[] = {{4.25, 0.5}, {3, 0.5}, {1, 2.5}, {1, 6.5}, {2, 7.5},
                                 {4, 7.5},    {5, 6.5}, {5, 4.5}, {4, 3.5}, {1, 3.5}};
static const Point NINE_LINE[] = {{5, 4.5}, {2, 4.5}, {1, 3.5}, {1, 1.5}, {2, 0.5},
                                  {4, 0.5}, {5, 1.5}, {5, 5.5}, {3, 7.5}, {1.75, 7.5}};
static const struct {
    const Glyph* glyph;
    const Point* points;
    int count;
} STROKES[] = {{&ONE, ONE_STEM, 2},      {&ONE, ONE_FLAG, 2},    {&TWO, TWO_LINE, 8},
               {&THREE, THREE_LINE, 11}, {&THREE, THREE_BAR, 2}, {&SIX, SIX_LINE, 10},
               {&NINE, NINE_LINE, 10}};

// The distance from (x, y) to the segment a-b.
static double DistanceToSegment(double x, double y, const Point& a, const Point& b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    double t = ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return hypot(x - a.x - t * dx, y - a.y - t * dy);
}

static bool NumeralOutlineCovers(const Glyph* glyph, double gx, double gy)
{
    for (const auto& stroke : STROKES) {
        if (stroke.glyph != glyph) {
            continue;
        }
        for (int i = 1; i < stroke.count; i++) {
            if (DistanceToSegment(gx, gy, stroke.points[i - 1], stroke.points[i]) <=
                NUMERAL_HALF_STROKE) {
                return true;
            }
        }
    }
    return false;
}

// The numeral's colour at a row of its box: the one a light grey, the others
// pale yellow in three bands, top to bottom.
static Color NumeralColor(const Glyph* glyph, double gy)
{
    return glyph == &ONE ? NUMERAL_ONE
           : gy < 3      ? NUMERAL_TOP
           : gy < 6      ? NUMERAL_MIDDLE
                         : NUMERAL_BOTTOM;
}

// Whether a point in dial units is on an outline, and its colour.
static bool NumeralOutlineAt(double x, double y, Color* color)
{
    for (const auto& numeral : NUMERALS) {
        double gx = x - numeral.left, gy = y - numeral.top;
        if (gx >= -1 && gx <= 7 && gy >= -1 && gy <= 9 &&
            NumeralOutlineCovers(numeral.glyph, gx, gy)) {
            *color = NumeralColor(numeral.glyph, gy);
            return true;
        }
    }
    return false;
}

static bool NumeralAt(double x, double y, bool outlines, Color* color)
{
    if (outlines) {
        return NumeralOutlineAt(x, y, color);
    }
    int column = (int)x, row = (int)y; // x, y >= 0: truncation is the floor
    for (const auto& numeral : NUMERALS) {
        int gx = column - numeral.left;
        int gy = row - numeral.top;
        if (gy < 0 || gy >= 8 || gx < 0 || gx >= 6) {
            continue;
        }
        const char* row = numeral.glyph->rows[gy];
        int width = 0;
        while (row[width] != '\0') {
            width++;
        }
        if (gx < width && row[gx] == '#') {
            *color = NumeralColor(numeral.glyph, gy);
            return true;
        }
    }
    return false;
}

// Whether a footprint in dial units (x0, y0)-(x1, y1) touches a numeral's box,
// with a unit of room for the outlines' round ends.
static bool NearNumeral(double x0, double y0, double x1, double y1)
{
    for (const auto& numeral : NUMERALS) {
        double left = numeral.left - 1, top = numeral.top - 1;
        double right = numeral.left + 7, bottom = numeral.top + 9;
        if (x1 >= left && x0 <= right && y1 >= top && y0 <= bottom) {
            return true;
        }
    }
    return false;
}

static Color SampledPixel(int x, int y, int n, double unit, bool numerals, bool outlines,
                          const TickColors& ticks)
{
    double step = 1.0 / n;
    Color sum = {0, 0, 0};
    for (int sy = 0; sy < n; sy++) {
        for (int sx = 0; sx < n; sx++) {
            double u = (x + (sx + 0.5) * step) * unit;
            double v = (y + (sy + 0.5) * step) * unit;
            Color c;
            if (!numerals || !NumeralAt(u, v, outlines, &c)) {
                c = DialSample(u, v, ticks);
            }
            sum.r += c.r;
            sum.g += c.g;
            sum.b += c.b;
        }
    }
    Color mean = {sum.r / (n * n), sum.g / (n * n), sum.b / (n * n)};
    return mean;
}

// A pixel of the dial: the mean of its n x n samples. Where that mean is known
// without them it is taken at once (larger sizes only; the 64-pixel artwork is
// always sampled): black outside the bezel, and on the face away from ticks and
// numerals, whose gradient is linear on either side of its diagonal, the colour
// at the pixel's centre.
static Color DialPixel(int x, int y, int n, double unit, bool numerals, bool scaled,
                       const TickColors& ticks)
{
    double x0 = x * unit - CENTRE, y0 = y * unit - CENTRE, x1 = x0 + unit, y1 = y0 + unit;
    numerals = numerals && NearNumeral(x0 + CENTRE, y0 + CENTRE, x1 + CENTRE, y1 + CENTRE);
    if (scaled) {
        double nearX = x0 > 0 ? x0 : (x1 < 0 ? x1 : 0), nearY = y0 > 0 ? y0 : (y1 < 0 ? y1 : 0);
        double farX = fabs(x0) > fabs(x1) ? x0 : x1, farY = fabs(y0) > fabs(y1) ? y0 : y1;
        bool oneSide = (x0 + y0 < 0) == (x1 + y1 < 0);
        if (hypot(nearX, nearY) > DIAL_OUTER) {
            return BLACK;
        }
        if (hypot(farX, farY) < TICKS_INNER && oneSide && !numerals) {
            return FaceColor((x0 + x1) / 2, (y0 + y1) / 2);
        }
    }
    return SampledPixel(x, y, n, unit, numerals, scaled, ticks);
}

// Sub-samples per pixel along each axis at the given size: the dial is sampled
// as finely at every size as the 64-pixel artwork (4 x 4 at 64).
static int DialSamplesPerPixel(int size)
{
    int samples = size > 0 ? (ART_SAMPLES * DIAL_SIZE + size - 1) / size : ART_SAMPLES;
    return samples < 1 ? 1 : samples;
}

static uint32_t Channel(double mean)
{
    return (uint32_t)RoundHalfEven(mean);
}

void RenderDial(int size, bool numerals, uint32_t* pixels)
{
    int n = DialSamplesPerPixel(size);
    double unit = (double)DIAL_SIZE / size; // dial units per pixel
    TickColors ticks;
    FillTickColors(&ticks);
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            Color c = DialPixel(x, y, n, unit, numerals, size != DIAL_SIZE, ticks);
            uint32_t red = Channel(c.r), green = Channel(c.g), blue = Channel(c.b);
            // The black floor: a mean of 2 or less in every channel (where the
            // outer edge fades out) is black, as in the committed artwork.
            if (red <= 2 && green <= 2 && blue <= 2) {
                red = green = blue = 0;
            }
            pixels[y * size + x] = blue | green << 8 | red << 16;
        }
    }
}

static uint32_t Packed(const Color& c)
{
    return (uint32_t)c.b | (uint32_t)c.g << 8 | (uint32_t)c.r << 16;
}

int DialExactColors(uint32_t colors[8])
{
    const Color* exact[] = {&BLACK,          &NUMERAL_TOP, &NUMERAL_MIDDLE,
                            &NUMERAL_BOTTOM, &NUMERAL_ONE, &TICK_TWELVE};
    int count = 0;
    for (const Color* color : exact) {
        colors[count++] = Packed(*color);
    }
    return count;
}

void NumeralMask(bool outlines, uint8_t mask[DIAL_SIZE * DIAL_SIZE])
{
    const double step = 1.0 / ART_SAMPLES;
    for (int y = 0; y < DIAL_SIZE; y++) {
        for (int x = 0; x < DIAL_SIZE; x++) {
            int covered = 0;
            for (int sy = 0; sy < ART_SAMPLES; sy++) {
                for (int sx = 0; sx < ART_SAMPLES; sx++) {
                    Color c;
                    covered +=
                        NumeralAt(x + (sx + 0.5) * step, y + (sy + 0.5) * step, outlines, &c);
                }
            }
            mask[y * DIAL_SIZE + x] = 2 * covered >= ART_SAMPLES * ART_SAMPLES ? 1 : 0;
        }
    }
}
