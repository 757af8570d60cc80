// Hand geometry. The angles are worked out in extended precision and stored as
// float; the end points are truncated toward zero.
#include "hands.h"

#include "dialart.h"

#include <float.h>
#include <math.h>

// Extended precision where the compiler has it. Where long double is only a
// double (MSVC), the end points are the same: no value before truncation lies
// within about 0.00013 of an integer unless it is one.
#if LDBL_MANT_DIG >= 64 && !defined(TAVIK_HANDS_DOUBLE)
typedef long double HandReal;
#else
typedef double HandReal;
#endif

static const double ONE_SIXTH = 1.0 / 6.0;
static const double ONE_360TH = 1.0 / 360.0;
static const double ONE_30TH = 1.0 / 30.0;

HandAngles ComputeHandAngles(const SYSTEMTIME& time)
{
    HandReal pi = DIAL_PI;
    HandReal hour = (HandReal)(time.wHour % 12);
    HandReal minute = (HandReal)time.wMinute;
    HandReal second = (HandReal)time.wSecond;
    HandAngles angles;
    angles.hour = (float)((hour * pi) * (HandReal)ONE_SIXTH + (minute * pi) * (HandReal)ONE_360TH);
    angles.minute = (float)((minute * pi) * (HandReal)ONE_30TH);
    angles.second = (float)((second * pi) * (HandReal)ONE_30TH);
    return angles;
}

// A hand on a dial of size pixels (at 64 the dial's own): the end point is
// worked out in the dial's pixels, the centre being half the size.
static HandSegment MakeHand(float angle, double length, int size, int32_t penWidth, COLORREF color)
{
    int center = size / 2;
    double sine = sin((double)angle);
    double cosine = cos((double)angle);
    HandReal x = ((HandReal)sine * (HandReal)length + (HandReal)1.0) * (HandReal)center;
    HandReal y = ((HandReal)1.0 - (HandReal)cosine * (HandReal)length) * (HandReal)center;
    HandSegment hand;
    hand.startX = center;
    hand.startY = center;
    hand.endX = (int32_t)x;
    hand.endY = (int32_t)y;
    hand.penWidth = penWidth;
    hand.color = color;
    return hand;
}

// A pen width of the 64-pixel dial on a dial of size pixels, rounded to
// nearest; a width of 1 or less is the device's thinnest line (0).
static int32_t ScaledPen(int width, int size)
{
    int32_t scaled = (int32_t)((width * size + DIAL_SIZE / 2) / DIAL_SIZE);
    return scaled <= 1 ? 0 : scaled;
}

void ComputeHandsAt(const SYSTEMTIME& time, const DialSettings& settings, int size,
                    HandSegment hands[HAND_COUNT])
{
    HandAngles angles = ComputeHandAngles(time);
    hands[0] = MakeHand(angles.hour, HOUR_HAND_LENGTH, size, ScaledPen(2, size), settings.Hours);
    hands[1] =
        MakeHand(angles.minute, MINUTE_HAND_LENGTH, size, ScaledPen(2, size), settings.Minutes);
    hands[2] =
        MakeHand(angles.second, SECOND_HAND_LENGTH, size, ScaledPen(1, size), settings.Seconds);
}

void ComputeHands(const SYSTEMTIME& time, const DialSettings& settings,
                  HandSegment hands[HAND_COUNT])
{
    ComputeHandsAt(time, settings, DIAL_SIZE, hands);
}
