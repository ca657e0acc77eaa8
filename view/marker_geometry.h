// What the marker pass and picking share: which rows are drawn and where.
#pragma once
#include "cities/city_table.h"

// Matched and inside the last frame's bounds, every bound inclusive.
int marker_is_drawn(const CityRecord* city);

// Rows of the city table to look at, held to its capacity.
int32_t marker_row_count();

// 1 and the pixel of row i's tip when its marker is drawn; 0 otherwise.
int drawn_marker_tip(int32_t i, float* px, float* py);

// Texture s of the centre of strip cell value.
float marker_cell_s(int32_t value);

enum {
    MARKER_HALF_WIDTH = 16,  // pixels either side of the tip at the top edge
    MARKER_HEIGHT = 32,      // pixels from the tip to the top edge
};
