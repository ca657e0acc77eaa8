// Frame bitmap sizing and the copy region of the bitmap presentation path.
#include "core/bitmap_frame.h"

int32_t frame_bitmap_side(int32_t screen_side, int32_t largest_window_side, int32_t minimum_side) {
    int32_t side = minimum_side;
    if (screen_side > side) {
        side = screen_side;
    }
    if (largest_window_side > side) {
        side = largest_window_side;
    }
    return side > FRAME_BITMAP_MAX_SIDE ? FRAME_BITMAP_MAX_SIDE : side;
}

FrameCopy frame_copy_region(int32_t bitmap_width, int32_t bitmap_height, int32_t client_width,
                            int32_t client_height) {
    FrameCopy copy = {0, 0, 0, 0};
    if (bitmap_width <= 0 || bitmap_height <= 0 || client_width <= 0 || client_height <= 0) {
        return copy;
    }
    copy.width = client_width < bitmap_width ? client_width : bitmap_width;
    copy.height = client_height < bitmap_height ? client_height : bitmap_height;
    copy.source_y = bitmap_height - copy.height;
    copy.target_y = client_height - copy.height;
    return copy;
}
