// Power-of-two copy of a captured picture for printing.
#pragma once
#include "core/image.h"

enum { PRINT_TEXTURE_MAX_SIDE = 1024 };

// Smallest power of two not less than side (1 for 0 or 1), capped at 1024.
int32_t texture_side_for(int32_t side);

// Fills the empty target with the bilinear power-of-two copy of source.
// Returns 0 (target left empty) for sources narrower or lower than 2 pixels,
// which have no neighbour to blend with.
int resample_to_texture(const Image* source, Image* target);
