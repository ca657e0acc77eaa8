// The printed page, drawn with OpenGL 1.1 one horizontal band at a time.
#pragma once
#include <stdint.h>
#include "core/image.h"

// Resamples the picture and uploads it to the context's default texture, once per
// page; 0 when it is too small to resample.
int upload_print_texture(const Image* picture);

// Draws the rows [band_bottom, band_bottom + band_height) of the page, white,
// page_width x page_height printer pixels, into a viewport of page_width x
// band_height, with the uploaded texture drawn with linear filtering over the
// picture's placement rectangle. The band is white only when picture is NULL;
// 0 for an empty page or band.
int draw_print_page_band(const Image* picture, int32_t page_width, int32_t page_height,
                         int32_t band_bottom, int32_t band_height);
