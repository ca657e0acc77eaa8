// The power-of-two texture copy for printing and the page placement.
#include <gtest/gtest.h>
#include <string.h>

#include "core/print.h"

namespace {

Image source_image(int32_t width, int32_t height) {
    Image image = {};
    EXPECT_EQ(1, create_image(width, height, 3, &image));
    return image;
}

uint8_t& channel(Image& image, int32_t x, int32_t y, int c) {
    return image.pixels[((size_t)y * image.width + x) * image.bytes_per_pixel + c];
}

}  // namespace

TEST(TextureSide, SmallestPowerOfTwoCappedAt1024) {
    const int32_t sides[][2] = {{0, 1},      {1, 1},       {2, 2},       {3, 4},       {500, 512},
                                {512, 512},  {513, 1024},  {1024, 1024}, {1025, 1024}, {2147483647, 1024}};
    for (const auto& side : sides) EXPECT_EQ(side[1], texture_side_for(side[0])) << side[0];
}

TEST(Resample, ThreeByThreeIsTruncatedAndBlendsColumnsAndRowsAlike) {
    // Green by column, blue by row: u = j / 3 and v = i / 3 each reach only the
    // first two source columns and rows. Blue is read in column 0, where u is 0:
    // elsewhere a row's equal values blended in float can truncate one lower.
    Image source = source_image(3, 3);
    const uint8_t by_column[3] = {0, 100, 200}, by_row[3] = {0, 255, 17};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            channel(source, x, y, 0) = 9;
            channel(source, x, y, 1) = by_column[x];
            channel(source, x, y, 2) = by_row[y];
        }
    }
    Image texture = {};
    ASSERT_EQ(1, resample_to_texture(&source, &texture));
    ASSERT_EQ(4, texture.width);
    ASSERT_EQ(4, texture.height);
    EXPECT_EQ(3, texture.bytes_per_pixel);
    const uint8_t green[4] = {0, 33, 66, 100}, blue[4] = {0, 85, 170, 255};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(9, channel(texture, x, y, 0)) << x << "," << y;
            EXPECT_EQ(green[x], channel(texture, x, y, 1)) << x << "," << y;
        }
        EXPECT_EQ(blue[y], channel(texture, 0, y, 2)) << y;
    }
    destroy_image(&source);
    destroy_image(&texture);
}

TEST(Resample, TwoByTwoRepeatsTheBottomLeftPixel) {
    Image source = source_image(2, 2);
    const uint8_t rgb[12] = {11, 22, 33, 44, 55, 66, 77, 88, 99, 110, 120, 130};
    memcpy(source.pixels, rgb, sizeof rgb);
    Image texture = {};
    ASSERT_EQ(1, resample_to_texture(&source, &texture));
    ASSERT_EQ(2, texture.width);
    ASSERT_EQ(2, texture.height);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(11, texture.pixels[3 * i]);
        EXPECT_EQ(22, texture.pixels[3 * i + 1]);
        EXPECT_EQ(33, texture.pixels[3 * i + 2]);
    }
    destroy_image(&source);
    destroy_image(&texture);
}

TEST(Resample, TextureSizesForCaptures) {
    const int32_t cases[][4] = {{1016, 714, 1024, 1024}, {500, 300, 512, 512},
                                {640, 480, 1024, 512}, {1280, 1024, 1024, 1024},
                                {2000, 3, 1024, 4}};
    for (const auto& c : cases) {
        Image source = source_image(c[0], c[1]);
        for (int32_t x = 0; x < c[0]; ++x) channel(source, x, c[1] - 2, 0) = 200;
        Image texture = {};
        ASSERT_EQ(1, resample_to_texture(&source, &texture));
        EXPECT_EQ(c[2], texture.width);
        EXPECT_EQ(c[3], texture.height);
        // The top texture row samples source row H - 2 alone.
        EXPECT_EQ(200, channel(texture, texture.width - 1, texture.height - 1, 0));
        EXPECT_EQ(200, channel(texture, 0, texture.height - 1, 0));
        destroy_image(&source);
        destroy_image(&texture);
    }
}

TEST(Resample, FourBytePixelsAreReadWithTheirOwnStride) {
    Image source = {};
    ASSERT_EQ(1, create_image(2, 2, 4, &source));
    source.pixels[0] = 1;
    source.pixels[1] = 2;
    source.pixels[2] = 3;
    source.pixels[3] = 250;
    Image texture = {};
    ASSERT_EQ(1, resample_to_texture(&source, &texture));
    EXPECT_EQ(3, texture.bytes_per_pixel);
    EXPECT_EQ(1, texture.pixels[9]);
    EXPECT_EQ(3, texture.pixels[11]);
    destroy_image(&source);
    destroy_image(&texture);
}

TEST(Resample, SourcesWithoutNeighboursAreRefused) {
    const int32_t sizes[][2] = {{0, 0}, {1, 1}, {1, 5}, {5, 1}, {0, 5}};
    for (const auto& size : sizes) {
        Image source = source_image(size[0], size[1]);
        Image texture = {};
        EXPECT_EQ(0, resample_to_texture(&source, &texture)) << size[0] << "x" << size[1];
        EXPECT_EQ(nullptr, texture.pixels);
        EXPECT_EQ(0, texture.width);
        destroy_image(&source);
    }
    Image empty = {};
    Image texture = {};
    EXPECT_EQ(0, resample_to_texture(&empty, &texture));
    Image hollow = {4, 4, 3, nullptr};
    EXPECT_EQ(0, resample_to_texture(&hollow, &texture));
    EXPECT_EQ(0, resample_to_texture(nullptr, &texture));
}

TEST(PagePlacement, LargestUndistortedFitCentred) {
    struct Case { int32_t page_width, page_height, width, height; float scale, offset_x, offset_y; };
    const Case cases[] = {
        {4800, 6400, 1000, 700, 4.8f, 0.0f, 1520.0f},
        {2479, 3508, 2000, 1000, 1.2395f, 0.0f, (3508.0f - 1239.5f) * 0.5f},
        {1000, 3000, 500, 3000, 1.0f, 250.0f, 0.0f},  // the height ratio is the smaller
        {4800, 6400, 0, 700, 0.0f, 2400.0f, 3200.0f},  // no picture: nothing divided by zero
    };
    for (const Case& c : cases) {
        const PagePlacement p = place_on_page(c.page_width, c.page_height, c.width, c.height);
        EXPECT_FLOAT_EQ(c.scale, p.scale) << c.width << "x" << c.height;
        EXPECT_NEAR(c.offset_x, p.offset_x, 0.01f) << c.width << "x" << c.height;
        EXPECT_NEAR(c.offset_y, p.offset_y, 0.01f) << c.width << "x" << c.height;
    }
}
