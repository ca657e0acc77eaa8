// The tile range of a view's bounds.
#include "core/tile_range.h"

#include <math.h>

#include "core/tile_id.h"

// Highest column and row of the grid: floor(2634 / 512) = 5 and floor(1432 / 512) = 2.
static const float LAST_COLUMN = (float)(MAP_WIDTH / TILE_SIZE);
static const float LAST_ROW = (float)(MAP_HEIGHT / TILE_SIZE);

// First index: raised to 0; anything past the grid is held just beyond it so the
// conversion to an integer is always in range.
static int32_t first_index(float bound, float last) {
    float index = floorf(bound / (float)TILE_SIZE);
    if (index <= 0.0f) {
        return 0;
    }
    if (index > last + 1.0f) {
        return (int32_t)last + 1;
    }
    return (int32_t)index;
}

static int32_t last_index(float bound, float last) {
    float index = floorf(bound / (float)TILE_SIZE);
    if (index >= last) {
        return (int32_t)last;
    }
    if (index < -1.0f) {
        return -1;
    }
    return (int32_t)index;
}

TileRange tile_range_for(float left, float right, float bottom, float top) {
    TileRange range = {0, -1, 0, -1};
    // A degenerate view (zoom run down to zero or up to infinity) draws nothing.
    if (isnan(left) || isnan(right) || isnan(bottom) || isnan(top)) {
        return range;
    }
    range.first_column = first_index(left, LAST_COLUMN);
    range.last_column = last_index(right, LAST_COLUMN);
    range.first_row = first_index(bottom, LAST_ROW);
    range.last_row = last_index(top, LAST_ROW);
    return range;
}
