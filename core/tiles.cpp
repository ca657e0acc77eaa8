// The map tiles: ids, file paths, the range a view wants and the cache of wanted tiles.
#include "core/tiles.h"
#include <stdio.h>
#include <math.h>
#include <stddef.h>

// Packing and unpacking tile ids; the fixed texture name of a tile.
enum {
    LOADED_BIT = 1u,
    LEVEL_SHIFT = 1,
    LEVEL_MASK = 0x7u,
    ROW_SHIFT = 4,
    ROW_MASK = 0x3FFu,
    COLUMN_SHIFT = 14,
    COLUMN_MASK = 0x3FFu,
};

TileId make_tile_id(uint32_t level, uint32_t row, uint32_t column) {
    return ((level & LEVEL_MASK) << LEVEL_SHIFT) | ((row & ROW_MASK) << ROW_SHIFT) |
           ((column & COLUMN_MASK) << COLUMN_SHIFT);
}

uint32_t tile_level_of(TileId tid) { return (tid >> LEVEL_SHIFT) & LEVEL_MASK; }
uint32_t tile_row_of(TileId tid) { return (tid >> ROW_SHIFT) & ROW_MASK; }
uint32_t tile_column_of(TileId tid) { return (tid >> COLUMN_SHIFT) & COLUMN_MASK; }
int tile_is_loaded(TileId tid) { return (tid & LOADED_BIT) != 0; }
int same_tile(TileId a, TileId b) { return (a & ~(TileId)LOADED_BIT) == (b & ~(TileId)LOADED_BIT); }

uint32_t tile_texture_name(uint32_t level, uint32_t row, uint32_t column) {
    return column + row * 1000u + level * 1000000u + 1u;
}

// Tile file paths: three-digit fields, zero-padded.
void format_tile_path(uint32_t level, uint32_t row, uint32_t column, char* out, size_t out_size) {
    if (out == NULL || out_size == 0) {
        return;
    }
    snprintf(out, out_size, ".\\data\\tiles\\l%u\\%3u\\%u%3u%3u.bmp", level, row, level, row, column);
    for (char* p = out; *p != '\0'; ++p) {
        if (*p == ' ') {
            *p = '0';
        }
    }
}

// The tile range of a view's bounds.
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

// The wanted-tile list: most recently wanted last, the oldest evicted first.
TileCache tile_cache = {0, {0}};

int cache_request(TileCache* cache, uint32_t level, uint32_t row, uint32_t column, TileId* evicted) {
    TileId wanted = make_tile_id(level, row, column);
    int32_t count = cache->count;
    if (count < 0 || count > TILE_CACHE_LIMIT) {
        count = 0;  // a corrupt count must not index past the list
    }
    for (int32_t i = 0; i < count; ++i) {
        if (same_tile(cache->tids[i], wanted)) {
            TileId kept = cache->tids[i];
            for (int32_t k = i; k < count - 1; ++k) {
                cache->tids[k] = cache->tids[k + 1];
            }
            cache->tids[count - 1] = kept;
            cache->count = count;
            return 0;
        }
    }
    if (count < TILE_CACHE_LIMIT) {
        cache->tids[count] = wanted;
        cache->count = count + 1;
        return 0;
    }
    if (evicted != NULL) {
        *evicted = cache->tids[0];
    }
    for (int32_t k = 0; k < count - 1; ++k) {
        cache->tids[k] = cache->tids[k + 1];
    }
    cache->tids[count - 1] = wanted;
    return 1;
}
