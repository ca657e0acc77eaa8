#include <gtest/gtest.h>

#include "view/frame.h"
#include "view/gl_api.h"
#include "view/tests/render_fixture.h"
#include "view/tile_cache.h"
#include "view/tile_loader.h"
#include "view/view_state.h"

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
