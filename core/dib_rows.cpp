// RGB rows to 24-bit DIB rows: channels swapped, rows padded.
#include "core/dib_rows.h"

#include <string.h>

#include "core/bmp.h"

int rgb_to_dib_rows(const Image* rgb, uint8_t* out, size_t out_bytes) {
    if (rgb == NULL || out == NULL || rgb->bytes_per_pixel != 3 || rgb->width < 0 || rgb->height < 0) {
        return 0;
    }
    if (rgb->width == 0 || rgb->height == 0) {
        return 1;
    }
    if (rgb->pixels == NULL) {
        return 0;
    }
    size_t row_bytes = (size_t)bmp_row_size(rgb->width);
    if (row_bytes == 0 || (uint64_t)row_bytes * (uint64_t)rgb->height > out_bytes) {
        return 0;
    }
    size_t packed_bytes = (size_t)rgb->width * 3;
    for (int32_t row = 0; row < rgb->height; ++row) {
        const uint8_t* source = rgb->pixels + (size_t)row * packed_bytes;
        uint8_t* target = out + (size_t)row * row_bytes;
        for (int32_t column = 0; column < rgb->width; ++column) {
            target[column * 3 + 0] = source[column * 3 + 2];
            target[column * 3 + 1] = source[column * 3 + 1];
            target[column * 3 + 2] = source[column * 3 + 0];
        }
        memset(target + packed_bytes, 0, row_bytes - packed_bytes);
    }
    return 1;
}
