// Shared set-up for the rendering tests: an offscreen context, a scratch working
// directory for data files, and the process-wide state put back to its start values.
#pragma once
#include <stdint.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/support/rgb.h"

enum { RENDER_WIDTH = 64, RENDER_HEIGHT = 48 };


// A 24-bit BMP with the given pixels (rows bottom-up, RGB), written by the test
// itself so the fixtures do not depend on the writer under test elsewhere.
void write_test_bmp(const std::string& path, int width, int height, const uint8_t* rgb);
void write_solid_bmp(const std::string& path, int width, int height, Rgb colour);
// ./data/tiles/l<level>/<row>/<level><row><column>.bmp below the current directory.
std::string tile_file(unsigned level, unsigned row, unsigned column);

Rgb read_pixel(int x, int y);

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A view of world x 0..2048 and y 0..1536 on the 64 x 48 viewport: one tile is
    // 16 x 16 pixels, tile (r, c) covers pixels x 16c..16c+15, y 16r..16r+15.
    void use_grid_view();

    std::string scratch_dir;
    std::string old_dir;
};

#define EXPECT_RGB(pixel, R, G, B)                                  \
    do {                                                            \
        Rgb got_ = (pixel);                                         \
        EXPECT_EQ(got_.r, (R));                                     \
        EXPECT_EQ(got_.g, (G));                                     \
        EXPECT_EQ(got_.b, (B));                                     \
    } while (0)

#define EXPECT_RGB_NEAR(pixel, R, G, B, TOL)                        \
    do {                                                            \
        Rgb got_ = (pixel);                                         \
        EXPECT_NEAR(got_.r, (R), (TOL));                            \
        EXPECT_NEAR(got_.g, (G), (TOL));                            \
        EXPECT_NEAR(got_.b, (B), (TOL));                            \
    } while (0)
