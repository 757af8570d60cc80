// Colour texts of the profile file: formatting and the tolerant parse.
#include "colortext.h"

#include <stdint.h>

void FormatColorText(COLORREF color, char* buffer)
{
    unsigned red = color & 0xFF;
    unsigned green = (color >> 8) & 0xFF;
    unsigned blue = (color >> 16) & 0xFF;
    FormatText(buffer, "%u, %u, %u", red, green, blue); // at most 14 bytes
}

static bool IsColorTextSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The decimal value at text: white space, one optional sign, digits. The
// accumulation wraps around in 32 bits, so it is done unsigned.
static uint32_t ReadDecimal(const char* text)
{
    while (IsColorTextSpace(*text)) {
        text++;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        text++;
    }
    uint32_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10u + (uint32_t)(*text - '0');
        text++;
    }
    return negative ? 0u - value : value;
}

static const char* AfterComma(const char* text)
{
    while (*text != '\0' && *text != ',') {
        text++;
    }
    return *text == ',' ? text + 1 : nullptr;
}

COLORREF ParseColorText(const char* text)
{
    uint32_t red = ReadDecimal(text) & 0xFF;
    uint32_t green = 0;
    uint32_t blue = 0;
    const char* part = AfterComma(text);
    if (part != nullptr) {
        green = ReadDecimal(part) & 0xFF;
        part = AfterComma(part);
        if (part != nullptr) {
            blue = ReadDecimal(part) & 0xFF;
        }
    }
    return (COLORREF)(red | (green << 8) | (blue << 16));
}
