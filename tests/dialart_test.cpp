// The dial's artwork: the outlines drawn at every size above 64 are the pixel
// glyphs of the 64-pixel artwork, closely enough that the two cannot drift apart.
#include "dialart.h"

#include <gtest/gtest.h>

TEST(DialArt, TheNumeralsOutlinesCoverThePixelGlyphs)
{
    uint8_t glyphs[DIAL_SIZE * DIAL_SIZE], outlines[DIAL_SIZE * DIAL_SIZE];
    NumeralMask(false, glyphs);
    NumeralMask(true, outlines);
    int glyphPixels = 0, both = 0, either = 0;
    for (int i = 0; i < DIAL_SIZE * DIAL_SIZE; i++) {
        glyphPixels += glyphs[i];
        both += glyphs[i] & outlines[i];
        either += glyphs[i] | outlines[i];
    }
    ASSERT_GT(glyphPixels, 100) << "the glyphs are there";
    // Intersection over union: 1 today; without any one numeral's outline
    // (about a fifth of the pixels) under 0.85.
    EXPECT_GE((double)both / either, 0.9) << both << " pixels of " << either;
}
