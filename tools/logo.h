// The About box's logo: a 322 x 115 four-bit grey bitmap drawn from a tiny
// built-in block font and a map-tile motif, byte for byte the same on every run.
#pragma once
#include <stddef.h>

enum {
    LOGO_WIDTH = 322,
    LOGO_HEIGHT = 115,
    LOGO_ROW_BYTES = ((LOGO_WIDTH * 4 + 31) / 32) * 4,   // 164: rows padded to 4 bytes
    LOGO_PIXEL_OFFSET = 14 + 40 + 16 * 4,                  // file header, info header, palette
    LOGO_FILE_BYTES = LOGO_PIXEL_OFFSET + LOGO_ROW_BYTES * LOGO_HEIGHT,
};

// Writes the whole BMP file into out. Returns its size, or 0 when capacity is
// smaller than LOGO_FILE_BYTES.
size_t make_logo_bmp(unsigned char* out, size_t capacity);
