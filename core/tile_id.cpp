// Packing and unpacking tile ids; the fixed texture name of a tile.
#include "core/tile_id.h"

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
