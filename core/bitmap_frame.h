// Arithmetic of the bitmap presentation path: the size of the frame bitmap and
// the part of it that a client area shows.
#pragma once
#include <stdint.h>

enum {
    FRAME_BITMAP_MIN_WIDTH = 1024,
    FRAME_BITMAP_MIN_HEIGHT = 768,
    FRAME_BITMAP_MAX_SIDE = 8192,
};

// One side of the frame bitmap: the largest of the screen's and the largest
// window's side and the minimum, capped at FRAME_BITMAP_MAX_SIDE.
int32_t frame_bitmap_side(int32_t screen_side, int32_t largest_window_side, int32_t minimum_side);

struct FrameCopy {
    int32_t width;
    int32_t height;
    int32_t source_y;  // first GDI row of the bitmap to copy
    int32_t target_y;  // client row it goes to
};

// The bitmap is bottom-up and GL's row 0 is its last GDI row, so a client of
// height h shows GDI rows bitmap_height - h to bitmap_height - 1. A client larger
// than the bitmap gets the whole bitmap at its bottom-left corner, where GL's rows
// land; an empty result (width or height 0) copies nothing.
FrameCopy frame_copy_region(int32_t bitmap_width, int32_t bitmap_height, int32_t client_width,
                            int32_t client_height);
