// libFuzzer target for the pure dial logic: any colour text parses to a colour
// with a zero top byte whose canonical text parses back to itself, and hands
// stay inside the dial for any clock fields.
#include "datetext.h"
#include "colortext.h"
#include "dialart.h"
#include "hands.h"

#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char text[COLOR_TEXT_SIZE];
    size_t length = size < sizeof text - 1 ? size : sizeof text - 1;
    memcpy(text, data, length);
    text[length] = '\0';

    COLORREF color = ParseColorText(text);
    if ((color & 0xFF000000u) != 0) {
        abort();
    }
    char canonical[COLOR_TEXT_SIZE];
    FormatColorText(color, canonical);
    if (ParseColorText(canonical) != color || strlen(canonical) > 13) {
        abort();
    }

    if (size >= sizeof(SYSTEMTIME)) {
        SYSTEMTIME time;
        memcpy(&time, data, sizeof time);
        time.wHour %= 24;
        time.wMinute %= 60;
        time.wSecond %= 60;
        DialSettings settings = {};
        HandSegment hands[HAND_COUNT];
        ComputeHands(time, settings, hands);
        for (const HandSegment& hand : hands) {
            if (hand.endX < 0 || hand.endX >= DIAL_SIZE || hand.endY < 0 ||
                hand.endY >= DIAL_SIZE) {
                abort();
            }
        }
        char label[DIAL_DATE_SIZE];
        FormatDialDate(time, label);
        if (strlen(label) > 11) { // two 5-digit fields and the dot
            abort();
        }
    }
    return 0;
}
