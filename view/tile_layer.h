// The base map: one square per tile that the view touches.
#pragma once
#include <stdint.h>

#define TILE_GREY 0.498f

struct TileRange {
    int32_t first_column, last_column;
    int32_t first_row, last_row;
};

// Tiles touched by the bounds, clamped to the 6 x 3 grid; empty when last < first.
TileRange tile_range_for(float left, float right, float bottom, float top);

void draw_tile_layer();
