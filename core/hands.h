// Geometry of the three hands: end points, pen widths and colours for a time of day.
#pragma once

#include "settings.h"

// Half a turn as the dial has always measured it: 3.1415, not pi.
const double DIAL_PI = 3.1415;
const double HOUR_HAND_LENGTH = 0.4;
const double MINUTE_HAND_LENGTH = 0.7;
const double SECOND_HAND_LENGTH = 0.8;

struct HandSegment {
    int32_t startX;
    int32_t startY;
    int32_t endX;
    int32_t endY;
    int32_t penWidth; // 0 asks the device for its thinnest line
    COLORREF color;
};

const int HAND_COUNT = 3;

struct HandAngles {
    float hour;
    float minute;
    float second;
};

// Angles in radians, 0 straight up, growing clockwise. Reads wHour, wMinute, wSecond.
HandAngles ComputeHandAngles(const SYSTEMTIME& time);

// The hour, minute and second hand, in drawing order.
void ComputeHands(const SYSTEMTIME& time, const DialSettings& settings,
                  HandSegment hands[HAND_COUNT]);

// The same on a dial of size pixels (a scaled screen): the centre at half the
// size, the lengths of that size, the pens as wide in proportion. At 64
// exactly ComputeHands.
void ComputeHandsAt(const SYSTEMTIME& time, const DialSettings& settings, int size,
                    HandSegment hands[HAND_COUNT]);
