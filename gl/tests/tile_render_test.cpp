#include <stdio.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "gl/view.h"
#include "gl/gl_api.h"
#include "gl/tests/render_fixture.h"
#include "core/tiles.h"
#include "core/view.h"

// Quadrant colours of the 2 x 2 and 4 x 4 test tiles: bottom-left, bottom-right,
// top-left, top-right.
static const Rgb QUADRANT[4] = {{200, 10, 10}, {10, 200, 10}, {10, 10, 200}, {250, 250, 0}};

static void write_quadrant_tile(const std::string& path, int side) {
    uint8_t rgb[8 * 8 * 3];
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            Rgb c = QUADRANT[(y >= side / 2 ? 2 : 0) + (x >= side / 2 ? 1 : 0)];
            uint8_t* p = rgb + (y * side + x) * 3;
            p[0] = (uint8_t)c.r;
            p[1] = (uint8_t)c.g;
            p[2] = (uint8_t)c.b;
        }
    }
    write_test_bmp(path, side, side, rgb);
}

static GLboolean tile_texture_exists(unsigned row, unsigned column) {
    return glIsTexture(tile_texture_name(4, row, column));
}

class TileRender : public RenderTest {
protected:
    // Corner pixels of tile (r, c) in the grid view, clear of linear blending.
    void expect_quadrants(int row, int column) {
        int x = 16 * column, y = 16 * row;
        EXPECT_RGB(read_pixel(x + 1, y + 1), QUADRANT[0].r, QUADRANT[0].g, QUADRANT[0].b);
        EXPECT_RGB(read_pixel(x + 14, y + 1), QUADRANT[1].r, QUADRANT[1].g, QUADRANT[1].b);
        EXPECT_RGB(read_pixel(x + 1, y + 14), QUADRANT[2].r, QUADRANT[2].g, QUADRANT[2].b);
        EXPECT_RGB(read_pixel(x + 14, y + 14), QUADRANT[3].r, QUADRANT[3].g, QUADRANT[3].b);
    }
};

TEST_F(TileRender, WantedTileIsGreyUntilATickLoadsIt) {
    use_grid_view();
    write_quadrant_tile(tile_file(4, 0, 0), 4);
    redraw();
    EXPECT_RGB_NEAR(read_pixel(8, 8), 127, 127, 127, 1);
    load_next_tile();  // only (0, 0) has a file: the scan passes over the others
    EXPECT_TRUE(tile_texture_exists(0, 0));
    EXPECT_TRUE(tile_is_loaded(tile_cache.tids[0]));
    redraw();
    expect_quadrants(0, 0);
    EXPECT_RGB_NEAR(read_pixel(16 + 8, 8), 127, 127, 127, 1);  // its neighbour is still grey
}

TEST_F(TileRender, TwoByTwoTileWithOddRowBytesUploadsIntact) {
    use_grid_view();
    write_quadrant_tile(tile_file(4, 1, 2), 2);  // 6 bytes a row
    redraw();
    load_next_tile();
    redraw();
    expect_quadrants(1, 2);

    // Linear filtering: at a zoom of no whole number of pixels a texel, some pixel
    // of the tile's bottom row lies between the two texels and blends them.
    view_state.zoom = 700.25f;
    redraw();
    int blended = 0;
    for (int x = 28; x < 54; ++x) {
        Rgb p = read_pixel(x, 17);
        blended += p.r > 20 && p.r < 190 && p.g > 20 && p.g < 190 && p.b == 10;
    }
    EXPECT_GT(blended, 0);
}

TEST_F(TileRender, TilesArriveTopRowFirstRightToLeft) {
    use_grid_view();  // columns 0..4, rows 0..2
    for (unsigned r = 0; r < 3; ++r) {
        for (unsigned c = 0; c < 5; ++c) {
            write_solid_bmp(tile_file(4, r, c), 4, 4, Rgb{(uint8_t)(40 * c), (uint8_t)(80 * r), 77});
        }
    }
    redraw();
    const unsigned order[][2] = {{2, 4}, {2, 3}, {2, 2}, {2, 1}, {2, 0}, {1, 4}};
    for (const auto& tile : order) {
        EXPECT_FALSE(tile_texture_exists(tile[0], tile[1]));
        load_next_tile();
        EXPECT_TRUE(tile_texture_exists(tile[0], tile[1])) << tile[0] << "," << tile[1];
        redraw();
    }
    EXPECT_FALSE(tile_texture_exists(1, 3));
    EXPECT_RGB(read_pixel(16 * 1 + 8, 16 * 2 + 8), 40, 160, 77);
    EXPECT_RGB_NEAR(read_pixel(16 * 4 + 8 - 16, 16 * 1 + 8), 127, 127, 127, 1);  // (1, 3) still wanted
}

TEST_F(TileRender, MissingOrUnusableFilesDoNotHoldUpOthers) {
    use_grid_view();
    write_solid_bmp(tile_file(4, 2, 2), 4, 4, Rgb{1, 2, 3});
    write_solid_bmp(tile_file(4, 2, 3), 3, 4, Rgb{9, 9, 9});   // 3 wide: no OpenGL 1.1 texture
    write_solid_bmp(tile_file(4, 2, 1), 4, 4, Rgb{4, 5, 6});
    FILE* junk = fopen(tile_file(4, 2, 0).c_str(), "wb");      // not a bitmap at all
    ASSERT_NE(junk, nullptr);
    fputs("not a bitmap", junk);
    fclose(junk);
    // (2, 4) has no file.
    redraw();
    load_next_tile();
    EXPECT_TRUE(tile_texture_exists(2, 2));
    EXPECT_FALSE(tile_texture_exists(2, 3));
    EXPECT_FALSE(tile_texture_exists(2, 4));
    load_next_tile();
    EXPECT_TRUE(tile_texture_exists(2, 1));
    load_next_tile();  // nothing else readable: no change
    int loaded = 0;
    for (int i = 0; i < tile_cache.count; ++i) {
        loaded += tile_is_loaded(tile_cache.tids[i]);
    }
    EXPECT_EQ(loaded, 2);
    redraw();
    EXPECT_RGB(read_pixel(16 * 2 + 8, 16 * 2 + 8), 1, 2, 3);
    EXPECT_RGB_NEAR(read_pixel(16 * 3 + 8, 16 * 2 + 8), 127, 127, 127, 1);
    EXPECT_RGB_NEAR(read_pixel(16 * 0 + 8, 16 * 2 + 8), 127, 127, 127, 1);

    // The file turns up later: the next tick takes it.
    write_solid_bmp(tile_file(4, 2, 4), 4, 4, Rgb{7, 8, 9});
    load_next_tile();
    EXPECT_TRUE(tile_texture_exists(2, 4));

    // A tile that has left the view but is still listed is loaded in its turn.
    write_solid_bmp(tile_file(4, 0, 0), 4, 4, Rgb{7, 8, 9});
    view_state.centre_x = 2800.0f;  // only (2, 5), which has no file, is in view
    view_state.centre_y = 1400.0f;
    view_state.zoom = 100.0f;
    redraw();
    load_next_tile();
    EXPECT_TRUE(tile_texture_exists(0, 0));
}

TEST_F(TileRender, EvictedTileIsGreyAgainAndItsTextureDeleted) {
    use_grid_view();
    write_solid_bmp(tile_file(4, 0, 0), 4, 4, Rgb{30, 60, 90});
    redraw();
    load_next_tile();
    redraw();
    EXPECT_RGB(read_pixel(8, 8), 30, 60, 90);
    // 18 other tiles, requested after every visible one, push (0, 0) out.
    for (unsigned i = 0; i < 18; ++i) {
        request_tile(4, 10 + i, 7);
    }
    EXPECT_FALSE(tile_texture_exists(0, 0));
    redraw();
    EXPECT_RGB_NEAR(read_pixel(8, 8), 127, 127, 127, 1);
}

TEST_F(TileRender, ReloadAfterEvictionAndDeleteAll) {
    write_solid_bmp(tile_file(4, 0, 0), 4, 4, Rgb{30, 60, 90});
    request_tile(4, 0, 0);
    load_next_tile();
    ASSERT_TRUE(tile_texture_exists(0, 0));
    for (unsigned i = 0; i < 18; ++i) {
        request_tile(4, 10 + i, 7);
    }
    EXPECT_FALSE(tile_texture_exists(0, 0));
    request_tile(4, 0, 0);
    load_next_tile();
    EXPECT_TRUE(tile_texture_exists(0, 0));
    EXPECT_TRUE(tile_is_loaded(tile_cache.tids[17]));

    delete_all_tiles();
    EXPECT_EQ(tile_cache.count, 0);
    EXPECT_FALSE(tile_texture_exists(0, 0));
    load_next_tile();  // empty list: nothing happens
    delete_all_tiles();
    EXPECT_EQ(tile_cache.count, 0);
}

TEST_F(TileRender, FirstTileWithoutTextureIsGreyWhateverWasBound) {
    use_grid_view();
    write_solid_bmp(tile_file(4, 0, 1), 4, 4, Rgb{250, 0, 0});
    redraw();
    load_next_tile();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tile_texture_name(4, 0, 1));  // left over from elsewhere
    redraw();
    EXPECT_RGB_NEAR(read_pixel(8, 8), 127, 127, 127, 1);
    EXPECT_RGB(read_pixel(24, 8), 250, 0, 0);
}

TEST_F(TileRender, EmptyZeroSizedAndTruncatedFilesStayGrey) {
    use_grid_view();
    write_solid_bmp(tile_file(4, 1, 0), 4, 0, Rgb{1, 2, 3});  // a header and no rows
    write_solid_bmp(tile_file(4, 1, 1), 0, 4, Rgb{1, 2, 3});  // rows of no bytes
    FILE* empty = fopen(tile_file(4, 1, 2).c_str(), "wb");
    ASSERT_NE(empty, nullptr);
    fclose(empty);
    write_solid_bmp(tile_file(4, 1, 3), 4, 4, Rgb{4, 5, 6});
    ASSERT_EQ(0, truncate(tile_file(4, 1, 3).c_str(), 54 + 12 * 3));  // last row cut off
    write_solid_bmp(tile_file(4, 0, 0), 4, 4, Rgb{7, 8, 9});
    redraw();
    load_next_tile();  // passes over the four bad files in row 1
    load_next_tile();
    for (unsigned column = 0; column < 4; ++column) EXPECT_FALSE(tile_texture_exists(1, column)) << column;
    EXPECT_TRUE(tile_texture_exists(0, 0));
    redraw();
    for (int column = 0; column < 4; ++column)
        EXPECT_RGB_NEAR(read_pixel(16 * column + 8, 16 + 8), 127, 127, 127, 1);
    EXPECT_RGB(read_pixel(8, 8), 7, 8, 9);
}
