// Moving pictures between images and OpenGL: frame read-back and the printed page.
#pragma once
#include "core/image.h"
#include "core/resample.h"

// Reads the current frame (width x height from the origin) into the image's pixels
// as tightly packed RGB rows, bottom row first.
void read_frame_pixels(Image* image);

// Draws the printed page on the current context: white, page_width x page_height
// printer pixels, the picture resampled and drawn with linear filtering over its
// placement rectangle. Does not finish or tear down anything. Returns 0 (page left
// white) when the picture is too small to resample.
int draw_print_page(const Image* picture, int32_t page_width, int32_t page_height);

// The two halves of draw_print_page, for a page drawn in bands: the picture is
// resampled and uploaded to the context's default texture once (0 when it is too
// small), then each horizontal band of rows [band_bottom, band_bottom +
// band_height) is drawn from that texture into a viewport of page_width x
// band_height. The band is white only when picture is NULL.
int upload_print_texture(const Image* picture);
int draw_print_page_band(const Image* picture, int32_t page_width, int32_t page_height,
                         int32_t band_bottom, int32_t band_height);
