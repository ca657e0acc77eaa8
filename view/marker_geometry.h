// What the marker pass and picking share: which rows are drawn and where.
#pragma once
#include "cities/city_table.h"

// Matched and inside the last frame's bounds, every bound inclusive.
int marker_is_drawn(const CityRecord* city);

// Texture s of the centre of strip cell value.
float marker_cell_s(int32_t value);

enum {
    MARKER_HALF_WIDTH = 16,  // pixels either side of the tip at the top edge
    MARKER_HEIGHT = 32,      // pixels from the tip to the top edge
};
