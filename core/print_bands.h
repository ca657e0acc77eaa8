// The band plan of a printed page: the page is drawn in horizontal bands, each
// sent to the printer as a 24-bit bottom-up DIB (core/dib_rows.h).
#pragma once
#include <stdint.h>

// A band holds at most this many pixels (at least 8 rows, at most 512): the window
// waits one band between two calls of the abort procedure, at every resolution.
enum { PRINT_BAND_PIXELS = 1 << 18, PRINT_BAND_MIN_ROWS = 8, PRINT_BAND_MAX_ROWS = 512 };

// Rows of each band of a page page_width pixels wide (0 for an empty page).
int32_t print_band_rows(int32_t page_width);

struct PrintBand {
    int32_t gl_bottom;  // first page row of the band, counted from the bottom (GL)
    int32_t height;     // rows in the band
    int32_t gdi_top;    // the band's top row on the printer, counted from the top (GDI)
};

// Bands needed to cover page_height rows; 0 for an empty page or band size.
int32_t print_band_count(int32_t page_height, int32_t band_rows);

// The index-th band from the bottom of the page; the last one may be shorter.
PrintBand print_band(int32_t page_height, int32_t band_rows, int32_t index);
