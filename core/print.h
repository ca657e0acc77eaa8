// The print job's portable arithmetic: the page's placement, the picture's resampling, tiles, DIB rows, set-up and the document's outcomes.
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

// The tile plan of a printed page. The paper is white: only the rectangle the
// picture covers is drawn and sent, in tiles that the band bitmap and the
// renderer's viewport hold, each sent to the printer as a 24-bit bottom-up DIB
// (rgb_to_dib_rows, below).
// A tile holds at most this many pixels (at least 8 rows, at most 512): the window
// waits one tile between two calls of the abort procedure, at every resolution.
// The band bitmap is at most PRINT_TILE_MAX_WIDTH wide, so that it can be made
// before its context tells how wide a viewport the renderer takes.
enum {
    PRINT_BAND_PIXELS = 1 << 18,
    PRINT_BAND_MIN_ROWS = 8,
    PRINT_BAND_MAX_ROWS = 512,
    PRINT_TILE_MAX_WIDTH = 8192,
};

// Rows of each tile width pixels wide (0 for an empty width).
int32_t print_band_rows(int32_t width);

// Page pixels: columns from the left, rows from the bottom (GL).
struct PrintArea {
    int32_t left, bottom, width, height;
};

// The page pixels a width x height picture placed on the page covers: its
// rectangle rounded outward and cut to the page.
PrintArea print_picture_area(int32_t page_width, int32_t page_height, PagePlacement placement, int32_t width,
                             int32_t height);

struct PrintTiling {
    PrintArea area;
    int32_t tile_width, tile_height, columns, rows;
};

// Tiles of at most max_width x max_height (the band bitmap's size and the renderer's
// GL_MAX_VIEWPORT_DIMS, the smaller of each) covering area; no tiles for an empty
// area or limit.
PrintTiling plan_print_tiles(PrintArea area, int32_t max_width, int32_t max_height);

int32_t print_tile_count(const PrintTiling& tiling);

struct PrintTile {
    PrintArea rect;   // the tile's page pixels
    int32_t gdi_top;  // its top row on the printer, counted from the top (GDI)
};

// The index-th tile, row by row from the bottom; an empty one outside the plan.
PrintTile print_tile(const PrintTiling& tiling, int32_t page_height, int32_t index);

// A tile's pixels as the rows of a 24-bit DIB (no device).
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
