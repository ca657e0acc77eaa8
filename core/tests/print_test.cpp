#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <utility>

#include "core/image.h"
#include "core/print.h"

namespace {

// The tiles of a plan: each inside the area, no two at one place, together as
// large as the area (so each of its pixels once); the bytes they send as DIB rows.
int64_t check_tiles(const PrintTiling& tiling, int32_t page_height, int32_t max_width, int32_t max_height) {
    std::set<std::pair<int32_t, int32_t>> corners;
    int64_t pixels = 0, bytes = 0;
    for (int32_t i = 0; i < print_tile_count(tiling); ++i) {
        PrintArea t = print_tile(tiling, page_height, i).rect;
        EXPECT_TRUE(t.left >= tiling.area.left && t.left + t.width <= tiling.area.left + tiling.area.width &&
                    t.bottom >= tiling.area.bottom && t.bottom + t.height <= tiling.area.bottom + tiling.area.height)
            << "tile " << i;
        EXPECT_TRUE(t.width > 0 && t.width <= max_width && t.height > 0 && t.height <= max_height) << "tile " << i;
        EXPECT_EQ(page_height - t.bottom - t.height, print_tile(tiling, page_height, i).gdi_top);
        EXPECT_TRUE(corners.insert({t.left, t.bottom}).second) << "tile " << i;
        pixels += (int64_t)t.width * t.height;
        bytes += (int64_t)bmp_row_size(t.width) * t.height;
    }
    EXPECT_EQ((int64_t)tiling.area.width * tiling.area.height, pixels);
    return bytes;
}

// A 1016 x 714 view on an A4 page at 300 dpi: only its 1744 rows are sent, half the
// page's bytes, in tiles as large as the band bitmap (2479 x 105).
TEST(PrintTiles, OnlyThePicturesPixelsAreSentEachOnce) {
    PrintArea area = print_picture_area(2479, 3508, place_on_page(2479, 3508, 1016, 714), 1016, 714);
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(882, area.bottom);  // 882.9 to 2625.1
    EXPECT_EQ(2479, area.width);
    EXPECT_EQ(1744, area.height);
    PrintTiling tiling = plan_print_tiles(area, 2479, print_band_rows(2479));
    EXPECT_EQ(17, print_tile_count(tiling));
    EXPECT_EQ(7440 * 1744, check_tiles(tiling, 3508, 2479, 105));
    EXPECT_EQ(2521, print_tile(tiling, 3508, 0).gdi_top);  // the bottom tile, counted from the top

    // A picture narrower than the page keeps white columns either side.
    area = print_picture_area(100, 100, place_on_page(100, 100, 50, 100), 50, 100);
    EXPECT_EQ(25, area.left);
    EXPECT_EQ(50, area.width);
    EXPECT_EQ(100, area.height);
}

// A 44-inch roll at 600 dpi (26,400 pixels across) is wider than a viewport can be:
// tiles of at most the renderer's width, the last one narrower.
TEST(PrintTiles, PagesWiderThanTheViewportAreCutIntoColumns) {
    PrintArea area = print_picture_area(26400, 30000, place_on_page(26400, 30000, 1016, 714), 1016, 714);
    PrintTiling tiling = plan_print_tiles(area, 8192, print_band_rows(8192));
    EXPECT_EQ(4, tiling.columns);
    EXPECT_EQ(8192, print_tile(tiling, 30000, 0).rect.width);
    EXPECT_EQ(26400 - 3 * 8192, print_tile(tiling, 30000, 3).rect.width);
    check_tiles(tiling, 30000, 8192, 32);
    // A smaller viewport of the renderer's: 4096 x 16.
    check_tiles(plan_print_tiles(area, 4096, 16), 30000, 4096, 16);

    EXPECT_EQ(105, print_band_rows(2479));
    EXPECT_EQ(32, print_band_rows(8192));
    EXPECT_EQ(8, print_band_rows(2147483647));
    EXPECT_EQ(512, print_band_rows(100));
    EXPECT_EQ(0, print_band_rows(0));
    EXPECT_EQ(0, print_tile_count(plan_print_tiles(area, 0, 16)));
    EXPECT_EQ(0, print_tile_count(plan_print_tiles(print_picture_area(100, 100, place_on_page(100, 100, 0, 5), 0, 5), 64, 64)));
    EXPECT_EQ(0, print_tile(tiling, 30000, print_tile_count(tiling)).rect.width);
    EXPECT_EQ(0, print_tile(tiling, 30000, -1).rect.width);
}

TEST(DibRows, ChannelsAreSwappedAndRowsPaddedWithZeros) {
    // 2 x 2, bottom row first: red, green / blue, white.
    uint8_t pixels[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    Image rgb = {2, 2, 3, pixels};
    uint8_t out[16];
    memset(out, 0xAB, sizeof(out));
    ASSERT_EQ(1, rgb_to_dib_rows(&rgb, out, sizeof(out)));
    const uint8_t expected[16] = {0, 0, 255, 0, 255, 0, 0, 0,       // red, green, pad
                                  255, 0, 0, 255, 255, 255, 0, 0};  // blue, white, pad
    EXPECT_EQ(0, memcmp(expected, out, sizeof(expected)));
}

TEST(DibRows, RefusesBuffersTooSmallAndWrongPixelSizesWithoutWriting) {
    uint8_t pixels[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Image rgb = {3, 1, 3, pixels};
    uint8_t out[12];
    memset(out, 0xAB, sizeof(out));
    EXPECT_EQ(0, rgb_to_dib_rows(&rgb, out, 11));
    for (uint8_t byte : out) {
        EXPECT_EQ(0xAB, byte);
    }
    ASSERT_EQ(1, rgb_to_dib_rows(&rgb, out, 12));
    const uint8_t expected[12] = {3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
    EXPECT_EQ(0, memcmp(expected, out, sizeof(expected)));

    Image four_bytes = {2, 1, 4, pixels};
    EXPECT_EQ(0, rgb_to_dib_rows(&four_bytes, out, sizeof(out)));
    Image no_pixels = {2, 2, 3, nullptr};
    EXPECT_EQ(0, rgb_to_dib_rows(&no_pixels, out, sizeof(out)));
    Image empty = {5, 0, 3, nullptr};
    EXPECT_EQ(1, rgb_to_dib_rows(&empty, out, 0));
}

// A refused page is quiet only when the user cancelled it.
TEST(PrintDocument, CancelsAreQuietAndFailuresAreNot) {
    EXPECT_EQ(PAGE_END_OK, page_end_outcome(PRINT_CALL_DONE, 0));
    EXPECT_EQ(PAGE_END_CANCELLED, page_end_outcome(PRINT_CALL_DONE, 1));  // Cancel pressed during the spooling
    EXPECT_EQ(PAGE_END_CANCELLED, page_end_outcome(PRINT_CALL_CANCELLED, 0));
    EXPECT_EQ(PAGE_END_CANCELLED, page_end_outcome(PRINT_CALL_FAILED, 1));
    EXPECT_EQ(PAGE_END_FAILED, page_end_outcome(PRINT_CALL_FAILED, 0));
}

}  // namespace
