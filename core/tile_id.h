// A tile packed into 32 bits (loaded flag, level, row, column) and its texture name.
#pragma once
#include <stdint.h>

typedef uint32_t TileId;

enum {
    TILE_SIZE = 512,
    MAP_WIDTH = 2634,
    MAP_HEIGHT = 1432,
};

TileId make_tile_id(uint32_t level, uint32_t row, uint32_t column);
uint32_t tile_level_of(TileId tid);
uint32_t tile_row_of(TileId tid);
uint32_t tile_column_of(TileId tid);
int tile_is_loaded(TileId tid);
int same_tile(TileId a, TileId b);

uint32_t tile_texture_name(uint32_t level, uint32_t row, uint32_t column);
