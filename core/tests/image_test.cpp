// The image record: zeroed creation, refusals that leave it empty, safe release.
#include <gtest/gtest.h>

#include "core/image.h"

TEST(ImageRecord, CreateGivesZeroedPixelsOfTheRightSize) {
    Image image = {};
    ASSERT_EQ(1, create_image(5, 3, 3, &image));
    EXPECT_EQ(5, image.width);
    EXPECT_EQ(3, image.height);
    EXPECT_EQ(3, image.bytes_per_pixel);
    ASSERT_NE(nullptr, image.pixels);
    for (int i = 0; i < 45; ++i) EXPECT_EQ(0, image.pixels[i]);
    destroy_image(&image);
    EXPECT_EQ(0, image.width);
    EXPECT_EQ(0, image.height);
    EXPECT_EQ(0, image.bytes_per_pixel);
    EXPECT_EQ(nullptr, image.pixels);
    destroy_image(&image);  // a second release is harmless
    EXPECT_EQ(nullptr, image.pixels);
}

TEST(ImageRecord, PictureWithoutPixelsStillHoldsABlock) {
    Image image = {};
    ASSERT_EQ(1, create_image(4, 0, 3, &image));
    EXPECT_NE(nullptr, image.pixels);
    EXPECT_EQ(4, image.width);
    destroy_image(&image);
}

TEST(ImageRecord, NegativeOrAbsurdSizesLeaveTheRecordEmpty) {
    const int32_t sizes[][3] = {
        {-1, 4, 3}, {4, -1, 3}, {4, 4, -3},
        {2147483647, 2147483647, 3},  // overflows any 32-bit product
        {65536, 65536, 3},            // 12 GiB: not a picture
    };
    for (const auto& size : sizes) {
        Image image = {};
        EXPECT_EQ(0, create_image(size[0], size[1], size[2], &image));
        EXPECT_EQ(0, image.width);
        EXPECT_EQ(0, image.height);
        EXPECT_EQ(0, image.bytes_per_pixel);
        EXPECT_EQ(nullptr, image.pixels);
    }
    EXPECT_EQ(0, create_image(1, 1, 3, nullptr));
}
