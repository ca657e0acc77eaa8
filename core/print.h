// The print job's portable arithmetic: the page's placement, the picture's resampling, bands, DIB rows, set-up and the document's outcomes.
#pragma once
#include <stdint.h>
#include <stddef.h>
#include "core/image.h"

// Where a picture goes on a page: its largest undistorted fit, centred.
struct PagePlacement {
    float scale;
    float offset_x;
    float offset_y;
};

// Largest undistorted fit of a width x height picture centred on the page.
PagePlacement place_on_page(int32_t page_width, int32_t page_height, int32_t width, int32_t height);

// Power-of-two copy of a captured picture for printing.
enum { PRINT_TEXTURE_MAX_SIDE = 1024 };

// Smallest power of two not less than side (1 for 0 or 1), capped at 1024.
int32_t texture_side_for(int32_t side);

// Fills the empty target with the bilinear power-of-two copy of source.
// Returns 0 (target left empty) for sources narrower or lower than 2 pixels,
// which have no neighbour to blend with.
int resample_to_texture(const Image* source, Image* target);

// The band plan of a printed page: the page is drawn in horizontal bands, each
// sent to the printer as a 24-bit bottom-up DIB.
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

// A band's pixels as the rows of a 24-bit DIB (no device).
// Copies a 3-byte RGB image (rows bottom-up, packed) into out as DIB rows: blue,
// green, red, each row padded with zeros to bmp_row_size (core/image.h). Returns 0 without
// writing when out_bytes is too small or the image is not 3 bytes per pixel.
int rgb_to_dib_rows(const Image* rgb, uint8_t* out, size_t out_bytes);

// What a failed set-up of the page's OpenGL context tells the user (no device).
// How far OpenGL set-up on a device context got.
enum GlSetupResult {
    GL_SETUP_DONE,
    GL_SETUP_NO_FORMAT,       // no pixel format chosen (or no DC to choose on)
    GL_SETUP_FORMAT_NOT_SET,  // SetPixelFormat refused the chosen one
    GL_SETUP_NO_CONTEXT,      // no context created
    GL_SETUP_NOT_CURRENT,     // the context could not be made current
};

// The "Error" box text when the band bitmap the page is drawn into could not be
// given an OpenGL context; step is where it stopped. NULL for GL_SETUP_DONE.
const char* print_setup_failure_text(GlSetupResult step);

// What the printer made of a document call (StartDoc, EndPage), as the shell reads
// the platform's results.
enum PrintCall {
    PRINT_CALL_DONE,
    PRINT_CALL_CANCELLED,  // by the user (a "Save Print Output As" prompt, the spooler) or the abort procedure
    PRINT_CALL_FAILED,
};

enum PageEnd {
    PAGE_END_OK,         // go on with EndDoc
    PAGE_END_CANCELLED,  // AbortDoc, nothing to say
    PAGE_END_FAILED,     // AbortDoc, "Cannot print the page!"
};

// What became of the page, from EndPage's result; cancelled says whether the user
// pressed Cancel while the page was drawn or spooled. A page that failed is ended
// with AbortDoc, never EndDoc, so that no partial page is spooled.
PageEnd page_end_outcome(PrintCall end_page, int cancelled);
