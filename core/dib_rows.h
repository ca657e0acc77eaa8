// A band's pixels as the rows of a 24-bit DIB (no device).
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "core/image.h"

// Copies a 3-byte RGB image (rows bottom-up, packed) into out as DIB rows: blue,
// green, red, each row padded with zeros to bmp_row_size (core/bmp.h). Returns 0 without
// writing when out_bytes is too small or the image is not 3 bytes per pixel.
int rgb_to_dib_rows(const Image* rgb, uint8_t* out, size_t out_bytes);
