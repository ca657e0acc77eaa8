// Where a picture goes on a page: its largest undistorted fit, centred.
#pragma once
#include <stdint.h>

struct PagePlacement {
    float scale;
    float offset_x;
    float offset_y;
};

// Largest undistorted fit of a width x height picture centred on the page.
PagePlacement place_on_page(int32_t page_width, int32_t page_height, int32_t width, int32_t height);
