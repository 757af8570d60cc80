// Writes the dial drawn at a size to standard output, for tools/artgen.py:
//   dialart SIZE numerals|plain   size x size pixels, 4 bytes each (blue, green, red, 0)
//   dialart exact                 the colours kept exactly, one "r g b" a line
#include "dialart.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "exact") == 0) {
        uint32_t colors[8];
        int count = DialExactColors(colors);
        for (int i = 0; i < count; i++) {
            printf("%u %u %u\n", colors[i] >> 16 & 255, colors[i] >> 8 & 255, colors[i] & 255);
        }
        return 0;
    }
    int size = argc == 3 ? atoi(argv[1]) : 0;
    if (size < 1 || size > 1024 ||
        (strcmp(argv[2], "numerals") != 0 && strcmp(argv[2], "plain") != 0)) {
        fprintf(stderr, "usage: dialart SIZE numerals|plain | dialart exact\n");
        return 2;
    }
    std::vector<uint32_t> pixels((size_t)size * size);
    RenderDial(size, strcmp(argv[2], "numerals") == 0, pixels.data());
    for (uint32_t pixel : pixels) {
        unsigned char bytes[4] = {(unsigned char)(pixel & 255), (unsigned char)(pixel >> 8 & 255),
                                  (unsigned char)(pixel >> 16 & 255), 0};
        fwrite(bytes, 1, 4, stdout);
    }
    return 0;
}
