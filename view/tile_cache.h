// Tile ids, paths and the cache of the 18 most recently wanted tiles.
#pragma once
#include <stddef.h>
#include <stdint.h>

typedef uint32_t TileId;

enum {
    TILE_CACHE_LIMIT = 18,
    TILE_SIZE = 512,
    MAP_WIDTH = 2634,
    MAP_HEIGHT = 1432,
};

struct TileCache {
    int32_t count;
    TileId tids[TILE_CACHE_LIMIT];
};

extern TileCache tile_cache;

TileId make_tile_id(uint32_t level, uint32_t row, uint32_t column);
uint32_t tile_level_of(TileId tid);
uint32_t tile_row_of(TileId tid);
uint32_t tile_column_of(TileId tid);
int tile_is_loaded(TileId tid);
int same_tile(TileId a, TileId b);

uint32_t tile_texture_name(uint32_t level, uint32_t row, uint32_t column);

// ".\data\tiles\l%u\%3u\%u%3u%3u.bmp" with spaces turned into zeros.
void format_tile_path(uint32_t level, uint32_t row, uint32_t column, char* out, size_t out_size);

// The list part of request_tile: moves or enters the tile as most recently wanted.
// Returns 1 and sets *evicted when entry 0 had to make room.
int cache_request(TileCache* cache, uint32_t level, uint32_t row, uint32_t column, TileId* evicted);

// OpenGL side (main context current).
void request_tile(uint32_t level, uint32_t row, uint32_t column);
void load_next_tile();
void delete_all_tiles();
