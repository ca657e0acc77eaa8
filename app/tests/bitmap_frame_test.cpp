#include <gtest/gtest.h>

#include "app/bitmap_frame.h"

namespace {

void expect_copy(const FrameCopy& copy, int32_t width, int32_t height, int32_t source_y, int32_t target_y) {
    EXPECT_EQ(width, copy.width);
    EXPECT_EQ(height, copy.height);
    EXPECT_EQ(source_y, copy.source_y);
    EXPECT_EQ(target_y, copy.target_y);
}

TEST(FrameBitmapSide, CoversScreenAndLargestWindowWithinLimits) {
    EXPECT_EQ(1292, frame_bitmap_side(1280, 1292, FRAME_BITMAP_MIN_WIDTH));
    EXPECT_EQ(3840, frame_bitmap_side(3840, 1292, FRAME_BITMAP_MIN_WIDTH));
    EXPECT_EQ(768, frame_bitmap_side(0, 600, FRAME_BITMAP_MIN_HEIGHT));  // metrics unavailable
    EXPECT_EQ(FRAME_BITMAP_MAX_SIDE, frame_bitmap_side(20000, 20000, FRAME_BITMAP_MIN_WIDTH));
}

TEST(FrameCopyRegion, ClientShowsTheBitmapsLastRows) {
    // 1280 x 1024 bitmap, 1016 x 722 client: GL rows 0..721 are GDI rows 302..1023.
    expect_copy(frame_copy_region(1280, 1024, 1016, 722), 1016, 722, 302, 0);
    expect_copy(frame_copy_region(1280, 1024, 1280, 1024), 1280, 1024, 0, 0);
}

TEST(FrameCopyRegion, ClientLargerThanBitmapGetsItAtTheBottom) {
    expect_copy(frame_copy_region(1280, 1024, 1500, 1100), 1280, 1024, 0, 76);
}

TEST(FrameCopyRegion, EmptyClientOrBitmapCopiesNothing) {
    FrameCopy minimised = frame_copy_region(1280, 1024, 0, 0);
    EXPECT_EQ(0, minimised.width);
    EXPECT_EQ(0, minimised.height);
    EXPECT_EQ(0, frame_copy_region(1280, 1024, 392, 0).height);
    EXPECT_EQ(0, frame_copy_region(0, 0, 800, 600).width);
    EXPECT_EQ(0, frame_copy_region(1280, 1024, -5, 10).width);
}

}  // namespace
