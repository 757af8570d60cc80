#include "colortext_cases.h"

#include <gtest/gtest.h>

#include <string.h>

TEST(ColorText, ParsesEveryRowOfTheTable)
{
    for (const ColorTextCase& row : COLOR_TEXT_CASES) {
        EXPECT_EQ(ParseColorText(row.text), row.color) << "text \"" << row.text << "\"";
    }
}

TEST(ColorText, FormatsRedGreenBlueAndDropsTheTopByte)
{
    const ColorTextCase rows[] = {
        {"255, 255, 192", 0x00C0FFFF}, {"0, 0, 0", 0x00000000},       {"0, 128, 255", 0x00FF8000},
        {"1, 2, 3", 0xFF030201},       {"255, 255, 255", 0xFFFFFFFF},
    };
    for (const ColorTextCase& row : rows) {
        char text[COLOR_TEXT_SIZE];
        memset(text, 'x', sizeof text);
        FormatColorText(row.color, text);
        EXPECT_STREQ(text, row.text);
        EXPECT_LE(strlen(text), 13u);
    }
}

TEST(ColorText, ParseOfFormatGivesTheColourWithoutItsTopByte)
{
    // A multiplicative walk visits colours of every byte pattern, top byte included.
    uint32_t color = 1;
    for (int i = 0; i < 200000; i++) {
        char text[COLOR_TEXT_SIZE];
        FormatColorText(color, text);
        ASSERT_EQ(ParseColorText(text), color & 0x00FFFFFFu) << text;
        color = color * 2654435761u + 12345u;
    }
}
