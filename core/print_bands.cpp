// Band arithmetic and pixel conversion for printing from a bitmap context.
#include "core/print_bands.h"

#include <string.h>

#include "core/bmp.h"

int32_t print_band_rows(int32_t page_width) {
    if (page_width <= 0) {
        return 0;
    }
    int32_t rows = PRINT_BAND_PIXELS / page_width;
    return rows < PRINT_BAND_MIN_ROWS ? PRINT_BAND_MIN_ROWS : (rows > PRINT_BAND_MAX_ROWS ? PRINT_BAND_MAX_ROWS : rows);
}

int32_t print_band_count(int32_t page_height, int32_t band_rows) {
    if (page_height <= 0 || band_rows <= 0) {
        return 0;
    }
    return (int32_t)(((int64_t)page_height + band_rows - 1) / band_rows);
}

PrintBand print_band(int32_t page_height, int32_t band_rows, int32_t index) {
    PrintBand band = {0, 0, 0};
    if (index < 0 || index >= print_band_count(page_height, band_rows)) {
        return band;
    }
    band.gl_bottom = index * band_rows;
    int32_t rows_left = page_height - band.gl_bottom;
    band.height = rows_left < band_rows ? rows_left : band_rows;
    band.gdi_top = page_height - band.gl_bottom - band.height;
    return band;
}

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
