// Which tiles of the 6 x 3 grid a view touches.
#pragma once
#include <stdint.h>

struct TileRange {
    int32_t first_column, last_column;
    int32_t first_row, last_row;
};

// Tiles touched by the bounds, clamped to the grid; empty when last < first.
TileRange tile_range_for(float left, float right, float bottom, float top);
