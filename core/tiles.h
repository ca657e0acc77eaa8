// The map tiles: ids, file paths, the range a view wants and the cache of wanted tiles.
#pragma once
#include <stdint.h>
#include <stddef.h>

// A tile packed into 32 bits (loaded flag, level, row, column) and its texture name.
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

// The file a tile is read from.
// ".\data\tiles\l%u\%3u\%u%3u%3u.bmp" with spaces turned into zeros.
void format_tile_path(uint32_t level, uint32_t row, uint32_t column, char* out, size_t out_size);

// Which tiles of the 6 x 3 grid a view touches.
struct TileRange {
    int32_t first_column, last_column;
    int32_t first_row, last_row;
};

// Tiles touched by the bounds, clamped to the grid; empty when last < first.
TileRange tile_range_for(float left, float right, float bottom, float top);

// The list of the 18 most recently wanted tiles.
enum { TILE_CACHE_LIMIT = 18 };

struct TileCache {
    int32_t count;
    TileId tids[TILE_CACHE_LIMIT];
};

extern TileCache tile_cache;

// The list part of request_tile: moves or enters the tile as most recently wanted.
// Returns 1 and sets *evicted when entry 0 had to make room.
int cache_request(TileCache* cache, uint32_t level, uint32_t row, uint32_t column, TileId* evicted);
