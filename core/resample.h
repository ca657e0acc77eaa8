// Power-of-two copy of a captured picture for printing, and the page placement.
#pragma once
#include "core/image.h"

enum { PRINT_TEXTURE_MAX_SIDE = 1024 };

// Smallest power of two not less than side (1 for 0 or 1), capped at 1024.
int32_t texture_side_for(int32_t side);

// Fills the empty target with the bilinear power-of-two copy of source.
// Returns 0 (target left empty) for sources narrower or lower than 2 pixels,
// which have no neighbour to blend with.
int resample_to_texture(const Image* source, Image* target);

struct PagePlacement {
    float scale;
    float offset_x;
    float offset_y;
};

// Largest undistorted fit of a width x height picture centred on the page.
PagePlacement place_on_page(int32_t page_width, int32_t page_height, int32_t width, int32_t height);
