// In-memory picture: rows bottom-up, channels red, green, blue, no row gaps.
#pragma once
#include <stdint.h>

struct Image {
    int32_t width;
    int32_t height;
    int32_t bytes_per_pixel;
    uint8_t* pixels;  // owned; null when the record is empty
};

// Gives the record a zeroed block of width * height * bytes_per_pixel bytes.
// Returns 1 on success; 0 (record left empty) for negative sizes, a size that
// overflows, or a failed allocation.
int create_image(int32_t width, int32_t height, int32_t bytes_per_pixel, Image* image);

// As create_image, but the pixel bytes are left unset: for a caller that writes
// every one of them before the record is used, where zeroing would be wasted time.
int create_image_for_overwrite(int32_t width, int32_t height, int32_t bytes_per_pixel, Image* image);

// Frees the pixels and zeroes the record; safe on an empty record.
void destroy_image(Image* image);
