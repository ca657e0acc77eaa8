#include <math.h>
#include <string.h>

#include <vector>

#include <gtest/gtest.h>

#include "gl/print.h"
#include "gl/view.h"
#include "core/image.h"
#include "core/print.h"
#include "gl/gl_api.h"
#include "gl/tests/render_fixture.h"

typedef RenderTest PrintPage;

TEST_F(PrintPage, ReadBackOfAnOddWidthIsTightlyPacked) {
    // Each pixel of a 5 x 3 corner gets its own colour.
    glEnable(GL_SCISSOR_TEST);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            glScissor(x, y, 1, 1);
            glClearColor(x * 50 / 255.0f, y * 80 / 255.0f, 7 / 255.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    glDisable(GL_SCISSOR_TEST);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);  // the default would pad 15-byte rows to 16

    Image image = {0, 0, 0, NULL};
    ASSERT_EQ(create_image(5, 3, 3, &image), 1);
    read_frame_pixels(&image);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const uint8_t* p = image.pixels + (y * 5 + x) * 3;
            EXPECT_EQ(p[0], x * 50) << x << "," << y;
            EXPECT_EQ(p[1], y * 80) << x << "," << y;
            EXPECT_EQ(p[2], 7) << x << "," << y;
        }
    }
    destroy_image(&image);
}

// The picture: 8 x 2, red rising 30 a column, green 100 on the bottom row and 200
// on the top one, blue 50. On a 64 x 48 page it is scaled by 8 and centred:
// rows 16 to 31 of the page, every column.
static void make_picture(Image* picture) {
    ASSERT_EQ(create_image(8, 2, 3, picture), 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = picture->pixels + (y * 8 + x) * 3;
            p[0] = (uint8_t)(30 * x);
            p[1] = (uint8_t)(y == 0 ? 100 : 200);
            p[2] = 50;
        }
    }
}

// What linear filtering of the texture row gives at page column x (one texel = 8
// page pixels, clamped at both ends).
static double filtered_red(const Image* texture, int x) {
    double s = (x + 0.5) / 8.0 - 0.5;
    if (s <= 0) return texture->pixels[0];
    if (s >= texture->width - 1) return texture->pixels[(texture->width - 1) * 3];
    int i = (int)floor(s);
    double f = s - i;
    return (1 - f) * texture->pixels[i * 3] + f * texture->pixels[(i + 1) * 3];
}

// The whole page in one piece.
static int draw_page(const Image* picture, int32_t page_width, int32_t page_height) {
    if (!upload_print_texture(picture)) return 0;
    return draw_print_page_tile(picture, page_width, page_height, PrintArea{0, 0, page_width, page_height});
}

static std::vector<uint8_t> read_rows(int width, int height) {
    std::vector<uint8_t> rgb((size_t)width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

TEST_F(PrintPage, PrintedPageHasWhiteMarginsAndTheFilteredPicture) {
    Image picture = {0, 0, 0, NULL};
    make_picture(&picture);
    PagePlacement placement = place_on_page(64, 48, 8, 2);
    ASSERT_EQ(placement.scale, 8.0f);
    ASSERT_EQ(placement.offset_x, 0.0f);
    ASSERT_EQ(placement.offset_y, 16.0f);

    ASSERT_EQ(draw_page(&picture, 64, 48), 1);
    EXPECT_RGB(read_pixel(0, 0), 255, 255, 255);
    EXPECT_RGB(read_pixel(40, 15), 255, 255, 255);
    EXPECT_RGB(read_pixel(40, 32), 255, 255, 255);
    EXPECT_RGB(read_pixel(63, 47), 255, 255, 255);

    Image texture = {0, 0, 0, NULL};
    ASSERT_EQ(resample_to_texture(&picture, &texture), 1);
    ASSERT_EQ(texture.width, 8);
    // Rows of the texture all sample the picture's bottom row: green 100 throughout.
    for (int x = 0; x < 64; ++x) {
        for (int y : {16, 23, 31}) {
            Rgb got = read_pixel(x, y);
            EXPECT_NEAR(got.r, filtered_red(&texture, x), 1.0) << x << "," << y;
            EXPECT_EQ(got.g, 100) << x << "," << y;
            EXPECT_EQ(got.b, 50) << x << "," << y;
        }
    }
    // Between two texel centres the colour is a blend, not either texel.
    Rgb between = read_pixel(8, 20);
    EXPECT_GT(between.r, texture.pixels[0]);
    EXPECT_LT(between.r, texture.pixels[3]);
    destroy_image(&texture);
    destroy_image(&picture);
}

// A page wider than the renderer's viewport (forced to 24 x 6 here): the tiles of
// the picture's rows give the page drawn in one piece, which is white elsewhere.
TEST_F(PrintPage, TilesNoLargerThanTheViewportGiveThePageDrawnInOnePiece) {
    Image picture = {0, 0, 0, NULL};
    make_picture(&picture);
    ASSERT_EQ(draw_page(&picture, 64, 48), 1);
    std::vector<uint8_t> page = read_rows(64, 48);
    for (int y : {0, 15, 32, 47})
        for (int x = 0; x < 64 * 3; ++x) ASSERT_EQ(255, page[y * 64 * 3 + x]) << "row " << y;

    // One upload serves every tile: a black texture left from before is replaced.
    const uint8_t black[4] = {0, 0, 0, 0};
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, black);
    ASSERT_EQ(upload_print_texture(&picture), 1);
    PrintTiling tiling = plan_print_tiles(print_picture_area(64, 48, place_on_page(64, 48, 8, 2), 8, 2), 24, 6);
    ASSERT_EQ(9, print_tile_count(tiling));  // rows 16 to 31: columns of 24, 24, 16; rows of 6, 6, 4
    for (int i = 0; i < print_tile_count(tiling); ++i) {
        PrintArea t = print_tile(tiling, 48, i).rect;
        ASSERT_EQ(draw_print_page_tile(&picture, 64, 48, t), 1);
        std::vector<uint8_t> tile = read_rows(t.width, t.height);
        for (int y = 0; y < t.height; ++y)
            for (int x = 0; x < t.width * 3; ++x)
                ASSERT_NEAR(tile[(y * t.width) * 3 + x], page[((t.bottom + y) * 64 + t.left) * 3 + x], 1)
                    << "tile " << i << " row " << y << " byte " << x;
    }
    destroy_image(&picture);
}

TEST_F(PrintPage, CaptureWiderThanATextureFillsTheSamePageRectangle) {
    // 512 x 256 and 2048 x 1024 (a 1024-wide texture) both fill rows 8 to 39.
    for (int width : {512, 2048}) {
        Image picture = {0, 0, 0, NULL};
        ASSERT_EQ(create_image(width, width / 2, 3, &picture), 1);
        for (size_t i = 0; i < (size_t)width * (width / 2); ++i) {
            picture.pixels[i * 3] = 200;
            picture.pixels[i * 3 + 1] = 40;
            picture.pixels[i * 3 + 2] = 10;
        }
        ASSERT_EQ(draw_page(&picture, 64, 48), 1);
        EXPECT_RGB(read_pixel(0, 8), 200, 40, 10);
        EXPECT_RGB(read_pixel(63, 39), 200, 40, 10);
        EXPECT_RGB(read_pixel(32, 7), 255, 255, 255);
        EXPECT_RGB(read_pixel(32, 40), 255, 255, 255);
        destroy_image(&picture);
    }
}

TEST_F(PrintPage, TooSmallPictureIsNotUploadedAndATileOfNoPictureIsWhite) {
    Image picture = {0, 0, 0, NULL};
    ASSERT_EQ(create_image(1, 5, 3, &picture), 1);
    memset(picture.pixels, 0, 15);
    EXPECT_EQ(upload_print_texture(&picture), 0);
    EXPECT_EQ(upload_print_texture(NULL), 0);
    EXPECT_EQ(draw_print_page_tile(NULL, 64, 48, PrintArea{0, 0, 64, 48}), 0);
    EXPECT_RGB(read_pixel(32, 24), 255, 255, 255);
    EXPECT_RGB(read_pixel(0, 0), 255, 255, 255);
    EXPECT_EQ(draw_print_page_tile(&picture, 0, 48, PrintArea{0, 0, 64, 48}), 0);
    destroy_image(&picture);
}

TEST_F(PrintPage, TwoPixelWideTextureUploadsWithoutRowPadding) {
    // A 2 x 2 picture resamples to a 2 x 2 texture of its bottom-left pixel; rows of
    // 6 bytes need unpack alignment 1 or the second row would be read 2 bytes late.
    Image picture = {0, 0, 0, NULL};
    ASSERT_EQ(create_image(2, 2, 3, &picture), 1);
    const uint8_t rgb[] = {10, 20, 30, 90, 90, 90, 90, 90, 90, 90, 90, 90};
    memcpy(picture.pixels, rgb, sizeof rgb);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    ASSERT_EQ(draw_page(&picture, 64, 48), 1);  // scale 24, x 8..56
    EXPECT_RGB(read_pixel(12, 4), 10, 20, 30);
    EXPECT_RGB(read_pixel(50, 44), 10, 20, 30);
    // The picture's outermost page pixels keep its colour: no dark border fringe.
    EXPECT_RGB(read_pixel(8, 0), 10, 20, 30);
    EXPECT_RGB(read_pixel(55, 47), 10, 20, 30);
    EXPECT_RGB(read_pixel(4, 24), 255, 255, 255);
    EXPECT_RGB(read_pixel(60, 24), 255, 255, 255);
    destroy_image(&picture);
}
