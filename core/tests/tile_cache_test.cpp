#include <string.h>

#include <gtest/gtest.h>

#include "core/tiles.h"

TEST(TileId, TextureNames) {
    EXPECT_EQ(tile_texture_name(4, 0, 0), 4000001u);
    EXPECT_EQ(tile_texture_name(4, 2, 5), 4002006u);
    EXPECT_EQ(tile_texture_name(4, 1, 3), 4001004u);
}

TEST(TilePath, ZeroPaddedFields) {
    char path[320];
    format_tile_path(4, 2, 5, path, sizeof path);
    EXPECT_STREQ(path, ".\\data\\tiles\\l4\\002\\4002005.bmp");
    format_tile_path(4, 0, 0, path, sizeof path);
    EXPECT_STREQ(path, ".\\data\\tiles\\l4\\000\\4000000.bmp");
    format_tile_path(7, 1023, 999, path, sizeof path);
    EXPECT_STREQ(path, ".\\data\\tiles\\l7\\1023\\71023999.bmp");
}

TEST(TilePath, ShortBufferIsTruncatedNotOverrun) {
    char path[12];
    memset(path, 'x', sizeof path);
    format_tile_path(4, 2, 5, path, 8);
    EXPECT_STREQ(path, ".\\data\\");
    EXPECT_EQ(path[8], 'x');
    format_tile_path(4, 2, 5, path, 0);  // nothing written
    EXPECT_EQ(path[0], '.');
}

class CacheRequest : public ::testing::Test {
protected:
    TileCache cache = {0, {0}};
    TileId evicted = 0xDEADu;
};

TEST_F(CacheRequest, NewTilesAreAppendedUnloaded) {
    EXPECT_EQ(cache_request(&cache, 4, 0, 0, &evicted), 0);
    EXPECT_EQ(cache_request(&cache, 4, 0, 1, &evicted), 0);
    EXPECT_EQ(cache.count, 2);
    EXPECT_EQ(cache.tids[0], make_tile_id(4, 0, 0));
    EXPECT_EQ(cache.tids[1], make_tile_id(4, 0, 1));
    EXPECT_EQ(evicted, 0xDEADu);
}

TEST_F(CacheRequest, RequestingTheLastTileChangesNothing) {
    cache_request(&cache, 4, 0, 0, &evicted);
    cache_request(&cache, 4, 0, 1, &evicted);
    cache.tids[1] |= 1u;
    TileCache before = cache;
    EXPECT_EQ(cache_request(&cache, 4, 0, 1, &evicted), 0);
    EXPECT_EQ(memcmp(&before, &cache, sizeof cache), 0);
}

TEST_F(CacheRequest, ListedTileMovesToTheEndAndKeepsItsLoadedBit) {
    for (uint32_t c = 0; c < 5; ++c) {
        cache_request(&cache, 4, 1, c, &evicted);
    }
    cache.tids[1] |= 1u;  // (1, 1) loaded
    EXPECT_EQ(cache_request(&cache, 4, 1, 1, &evicted), 0);
    EXPECT_EQ(cache.count, 5);
    EXPECT_EQ(cache.tids[0], make_tile_id(4, 1, 0));
    EXPECT_EQ(cache.tids[1], make_tile_id(4, 1, 2));
    EXPECT_EQ(cache.tids[2], make_tile_id(4, 1, 3));
    EXPECT_EQ(cache.tids[3], make_tile_id(4, 1, 4));
    EXPECT_EQ(cache.tids[4], make_tile_id(4, 1, 1) | 1u);
}

TEST_F(CacheRequest, NineteenthTileEvictsEntryZero) {
    for (uint32_t i = 0; i < 18; ++i) {
        EXPECT_EQ(cache_request(&cache, 4, i / 6, i % 6, &evicted), 0);
    }
    cache.tids[0] |= 1u;
    EXPECT_EQ(cache.count, 18);
    EXPECT_EQ(cache_request(&cache, 4, 5, 5, &evicted), 1);
    EXPECT_EQ(cache.count, 18);
    EXPECT_TRUE(same_tile(evicted, make_tile_id(4, 0, 0)));
    EXPECT_EQ(cache.tids[0], make_tile_id(4, 0, 1));
    EXPECT_EQ(cache.tids[16], make_tile_id(4, 2, 5));
    EXPECT_EQ(cache.tids[17], make_tile_id(4, 5, 5));  // unloaded

    // The evicted tile comes back as a new, unloaded entry and pushes out the next.
    EXPECT_EQ(cache_request(&cache, 4, 0, 0, &evicted), 1);
    EXPECT_EQ(evicted, make_tile_id(4, 0, 1));
    EXPECT_EQ(cache.tids[17], make_tile_id(4, 0, 0));
}

TEST_F(CacheRequest, LevelIsPartOfTheIdentity) {
    cache_request(&cache, 4, 1, 1, &evicted);
    cache_request(&cache, 3, 1, 1, &evicted);
    EXPECT_EQ(cache.count, 2);
}
