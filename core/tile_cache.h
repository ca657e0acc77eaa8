// The list of the 18 most recently wanted tiles.
#pragma once
#include <stdint.h>

#include "core/tile_id.h"

enum { TILE_CACHE_LIMIT = 18 };

struct TileCache {
    int32_t count;
    TileId tids[TILE_CACHE_LIMIT];
};

extern TileCache tile_cache;

// The list part of request_tile: moves or enters the tile as most recently wanted.
// Returns 1 and sets *evicted when entry 0 had to make room.
int cache_request(TileCache* cache, uint32_t level, uint32_t row, uint32_t column, TileId* evicted);
