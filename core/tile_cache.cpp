// The wanted-tile list: most recently wanted last, the oldest evicted first.
#include "core/tile_cache.h"

#include <stddef.h>

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
