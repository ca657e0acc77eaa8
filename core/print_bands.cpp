// Band arithmetic of a printed page.
#include "core/print_bands.h"

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
