// The printed page, drawn with OpenGL 1.1 one tile at a time.
#pragma once
#include <stdint.h>
#include "core/image.h"
#include "core/print.h"

// Resamples the picture and uploads it to the context's default texture, once per
// page; 0 when it is too small to resample.
int upload_print_texture(const Image* picture);

// Draws the tile's pixels of the page, white, page_width x page_height printer
// pixels, into a viewport of the tile's size at the origin, with the uploaded
// texture drawn with linear filtering over the picture's placement rectangle. The
// tile is white only when picture is NULL; 0 for an empty page or tile.
int draw_print_page_tile(const Image* picture, int32_t page_width, int32_t page_height, PrintArea tile);

// The widest and tallest viewport the current context takes (GL_MAX_VIEWPORT_DIMS):
// a larger one is cut to it without an error.
void max_viewport_size(int32_t* width, int32_t* height);
