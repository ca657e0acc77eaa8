#include <gtest/gtest.h>

#include "core/view.h"

namespace {

TEST(WineVersion, WindowPathFromWine10On) {
    EXPECT_EQ(8, wine_major_version("8.0"));
    EXPECT_EQ(9, wine_major_version("9.22"));
    EXPECT_EQ(10, wine_major_version("10.0"));
    EXPECT_EQ(10, wine_major_version("10.0-rc1"));
    EXPECT_EQ(-1, wine_major_version(NULL));
    EXPECT_EQ(-1, wine_major_version(""));
    EXPECT_EQ(-1, wine_major_version("wine-10.0"));
    EXPECT_EQ(-1, wine_major_version("10"));
    EXPECT_EQ(-1, wine_major_version("123456789012.0"));  // no overflow

    EXPECT_TRUE(wine_takes_bitmap_path("8.0"));
    EXPECT_TRUE(wine_takes_bitmap_path("9.22"));
    EXPECT_FALSE(wine_takes_bitmap_path("10.0"));
    EXPECT_FALSE(wine_takes_bitmap_path("10.0-rc1"));
    EXPECT_FALSE(wine_takes_bitmap_path("11.3"));
    EXPECT_TRUE(wine_takes_bitmap_path("garbage"));
    EXPECT_TRUE(wine_takes_bitmap_path(NULL));
}

TEST(FrameBitmapSide, CoversScreenAndLargestWindowWithinLimits) {
    EXPECT_EQ(1292, frame_bitmap_side(1280, 1292, FRAME_BITMAP_MIN_WIDTH));
    EXPECT_EQ(3840, frame_bitmap_side(3840, 1292, FRAME_BITMAP_MIN_WIDTH));
    EXPECT_EQ(768, frame_bitmap_side(0, 600, FRAME_BITMAP_MIN_HEIGHT));  // metrics unavailable
    EXPECT_EQ(FRAME_BITMAP_MAX_SIDE, frame_bitmap_side(20000, 20000, FRAME_BITMAP_MIN_WIDTH));
}

// Bitmap and client sizes, and the region copied: width, height, source_y, target_y.
TEST(FrameCopyRegion, ClientShowsTheBitmapsLastRowsOrTheWholeBitmapAtItsBottom) {
    struct Case {
        int32_t bitmap_width, bitmap_height, client_width, client_height;
        FrameCopy expected;
    };
    const Case cases[] = {
        {1280, 1024, 1016, 722, {1016, 722, 302, 0}},  // GL rows 0..721 are GDI rows 302..1023
        {1280, 1024, 1280, 1024, {1280, 1024, 0, 0}},
        {1280, 1024, 1500, 1100, {1280, 1024, 0, 76}},
        {1280, 1024, 0, 0, {0, 0, 0, 0}},  // minimised
    };
    for (const Case& c : cases) {
        FrameCopy copy = frame_copy_region(c.bitmap_width, c.bitmap_height, c.client_width, c.client_height);
        EXPECT_EQ(c.expected.width, copy.width) << c.client_width << " x " << c.client_height;
        EXPECT_EQ(c.expected.height, copy.height) << c.client_width << " x " << c.client_height;
        EXPECT_EQ(c.expected.source_y, copy.source_y) << c.client_width << " x " << c.client_height;
        EXPECT_EQ(c.expected.target_y, copy.target_y) << c.client_width << " x " << c.client_height;
    }
    EXPECT_EQ(0, frame_copy_region(1280, 1024, 392, 0).height);
    EXPECT_EQ(0, frame_copy_region(0, 0, 800, 600).width);
    EXPECT_EQ(0, frame_copy_region(1280, 1024, -5, 10).width);
}

}  // namespace
