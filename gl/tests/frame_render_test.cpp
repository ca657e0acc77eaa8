#include <vector>

#include <gtest/gtest.h>

#include "core/city_table.h"
#include "tests/support/former_frame.h"
#include "tests/support/offscreen_gl.h"
#include "gl/view.h"
#include "gl/gl_api.h"
#include "gl/tests/render_fixture.h"
#include "core/tiles.h"
#include "core/view.h"

typedef RenderTest FrameRender;

TEST_F(FrameRender, ClearGreyOffTheMapAndFlatGreyTiles) {
    // World x -1536..512: the map starts at pixel x 48.
    view_state.centre_x = -512.0f;
    view_state.centre_y = 768.0f;
    view_state.zoom = 768.0f;
    redraw();
    EXPECT_RGB(read_pixel(10, 10), 212, 212, 212);
    EXPECT_RGB(read_pixel(47 - 1, 40), 212, 212, 212);
    EXPECT_RGB_NEAR(read_pixel(50, 10), 127, 127, 127, 1);
    EXPECT_RGB_NEAR(read_pixel(63, 47), 127, 127, 127, 1);
    // Requested bottom row first, left to right: columns 0 and 1 of rows 0 to 2.
    ASSERT_EQ(tile_cache.count, 6);
    EXPECT_EQ(tile_cache.tids[0], make_tile_id(4, 0, 0));
    EXPECT_EQ(tile_cache.tids[1], make_tile_id(4, 0, 1));
    EXPECT_EQ(tile_cache.tids[5], make_tile_id(4, 2, 1));
    EXPECT_EQ(view_state.left, -1536.0f);
    EXPECT_EQ(view_state.top, 1536.0f);
}

TEST_F(FrameRender, WholeMapRequestsAllEighteenTilesInDrawingOrder) {
    view_state.zoom = 5000.0f;
    redraw();
    ASSERT_EQ(tile_cache.count, 18);
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(tile_cache.tids[i], make_tile_id(4, i / 6, i % 6)) << i;
    }
}

TEST_F(FrameRender, ViewOutsideTheGridDrawsAndRequestsNothing) {
    view_state.centre_x = 10000.0f;
    view_state.zoom = 100.0f;
    redraw();
    EXPECT_EQ(tile_cache.count, 0);
    EXPECT_RGB(read_pixel(32, 24), 212, 212, 212);
}

TEST_F(FrameRender, MinimisedWindowKeepsTheViewport) {
    resize_view(0, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], RENDER_WIDTH);
    EXPECT_EQ(viewport[3], RENDER_HEIGHT);
    redraw();  // nothing divides by zero; the frame still draws
    resize_view(32, 24);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 32);
    EXPECT_EQ(viewport[3], 24);
    EXPECT_EQ(view_state.aspect, 32.0f / 24.0f);
}

// Tiles drawn unblended must leave every byte of a maximised frame as it was with
// blending on: pictures minified and magnified, a grey square, the clear colour and
// markers over all of them, one selected and the others dimmed.
TEST_F(FrameRender, MaximisedFrameIsByteIdenticalToTheFormerFrame) {
    enum { W = 1920, H = 1042 };
    offscreen_gl_close();
    ASSERT_EQ(offscreen_gl_open(W, H), 1);
    set_fixed_gl_state();
    resize_view(W, H);
    uint8_t picture[16 * 16 * 3];
    for (int i = 0; i < 16 * 16 * 3; ++i) picture[i] = (uint8_t)(i * 37 + i / 48 * 11);
    for (unsigned row = 0; row < 3; ++row) {
        for (unsigned column = 0; column < 6; ++column) {
            if (row != 1 || column != 2) write_test_bmp(tile_file(4, row, column), 16, 16, picture);
        }
    }
    uint8_t strip[16 * 2 * 3];
    for (int i = 0; i < 16 * 2; ++i) {
        bool key = i % 5 == 0;  // pure blue texels are transparent
        strip[i * 3] = key ? 0 : (uint8_t)(i * 15);
        strip[i * 3 + 1] = key ? 0 : (uint8_t)(250 - i * 7);
        strip[i * 3 + 2] = key ? 255 : 90;
    }
    write_test_bmp("./data/lolli.bmp", 16, 2, strip);
    ASSERT_EQ(load_marker_atlas(), 1);
    for (int i = 0; i < 40; ++i) {
        CityRecord* city = &city_table.rows[city_table.count++];
        city->map_x = (int16_t)(60 + i * 67);
        city->map_y = (int16_t)(40 + (i * 389) % 1400);
        city->mayor_total_terms = (int8_t)(i % 16);
        city->matched = 1;
    }
    view_state.selected = 7;
    view_state.centre_x = 1000.0f;  // the map's left edge in view, some margin
    view_state.zoom = 700.0f;
    draw_frame();
    for (int tick = 0; tick < 18; ++tick) load_next_tile();
    std::vector<uint8_t> frame((size_t)W * H * 3), former(frame.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // llvmpipe's first read-back of a whole frame shows the grey square at 127,
    // every later one at 126, whichever way the frame was drawn: read one first.
    draw_frame();
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    draw_former_frame();
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, former.data());
    draw_frame();
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    EXPECT_TRUE(frame == former) << "the frames differ";
    // Both hold what the frame is made of, so they are not alike by being empty.
    int clear = 0, grey = 0, other = 0;
    for (size_t i = 0; i < frame.size(); i += 3) {
        if (frame[i] == 212 && frame[i + 1] == 212 && frame[i + 2] == 212) {
            ++clear;
        } else if (frame[i] >= 126 && frame[i] <= 127 && frame[i + 1] == frame[i] && frame[i + 2] == frame[i]) {
            ++grey;
        } else {
            ++other;
        }
    }
    EXPECT_GT(clear, 10000);
    EXPECT_GT(grey, 10000);
    EXPECT_GT(other, 500000);
    offscreen_gl_close();
}
