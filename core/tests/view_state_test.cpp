#include <math.h>
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "core/tiles.h"
#include "core/view.h"

class ViewStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_state = view_state;
        saved_size = viewport_size;
    }
    void TearDown() override {
        view_state = saved_state;
        viewport_size = saved_size;
    }
    ViewState saved_state;
    ViewportSize saved_size;
};

TEST_F(ViewStateTest, ZoomSteps) {
    zoom_view(120);
    EXPECT_EQ(view_state.zoom, 864.08362f);
    zoom_view(-120);
    EXPECT_EQ(view_state.zoom, 950.492f);  // not back at the start: 0.9 * 1.1 != 1

    view_state.zoom = 100.0f;
    zoom_view(0);  // a zero delta zooms in
    EXPECT_EQ(view_state.zoom, 90.0f);
    zoom_view(-1);  // one step whatever the size of the delta
    EXPECT_EQ(view_state.zoom, 90.0f * 1.1f);
    zoom_view(32767);
    EXPECT_EQ(view_state.zoom, 90.0f * 1.1f * 0.9f);
    view_state.centre_x = 5.0f;
    zoom_view(1);
    EXPECT_EQ(view_state.centre_x, 5.0f);  // zoom is about the centre
}

// Touchpad deltas add up to notches; the remainder carries into the next notch.
TEST(WheelNotch, SmallDeltasAddUpPerDirection) {
    const int16_t deltas[] = {120, 30, 30, 30, 30, 50, 50, 50, 90, -30, 30, 0, 90, -119, -1, 240, -60, 60, 60};
    const char expected[] = "1000100110011011001";
    std::string steps;
    for (int16_t delta : deltas) steps += wheel_notch(delta) ? '1' : '0';
    EXPECT_EQ(expected, steps);
}

TEST_F(ViewStateTest, WheelingOutPastTheExtremeLeavesAWayBack) {
    set_viewport_size(1016, 714);
    for (int i = 0; i < 1100; ++i) {
        zoom_view(-120);
        ASSERT_TRUE(isnormal(view_state.zoom));
        ASSERT_TRUE(isfinite(2.0f * view_state.aspect * view_state.zoom));
    }
    float outermost = view_state.zoom;
    zoom_view(-120);
    EXPECT_EQ(view_state.zoom, outermost);  // refused, not turned infinite
    pan_view(-2, 2);  // 2 x aspect x zoom x 2 overflows: refused on both axes
    EXPECT_EQ(view_state.centre_x, 1317.0f);
    EXPECT_EQ(view_state.centre_y, 716.0f);
    for (int i = 0; i < 2000; ++i) {  // one pixel a step drives the centre to the largest floats
        pan_view(-1, -1);
        ASSERT_TRUE(isfinite(view_state.centre_x) && isfinite(view_state.centre_y));
    }
    EXPECT_GT(view_state.centre_x, 3e38f);
    EXPECT_LT(view_state.centre_y, -3e38f);
    float centre_x = view_state.centre_x;
    pan_view(1, 0);
    EXPECT_LT(view_state.centre_x, centre_x);  // and back again
    compute_view_bounds();
    TileRange range = tile_range_for(view_state.left, view_state.right, view_state.bottom, view_state.top);
    EXPECT_LE(range.last_column, 5);
    EXPECT_LE(range.last_row, 2);

    // A window made very wide at the extreme can still zoom back in.
    set_viewport_size(32767, 1);
    float zoom = view_state.zoom;
    for (int i = 0; i < 10; ++i) {
        zoom_view(120);
        ASSERT_EQ(view_state.zoom, zoom * 0.9f);
        zoom = view_state.zoom;
    }
}

TEST_F(ViewStateTest, WheelingInPastTheExtremeLeavesAWayBack) {
    set_viewport_size(1016, 714);
    for (int i = 0; i < 1100; ++i) {
        zoom_view(120);
        ASSERT_TRUE(isnormal(view_state.zoom));
    }
    float innermost = view_state.zoom;
    zoom_view(-120);
    EXPECT_EQ(view_state.zoom, innermost * 1.1f);
    EXPECT_GT(view_state.zoom, innermost);  // not frozen

    view_state.centre_x = 0.0f;
    view_state.centre_y = 0.0f;
    pan_view(1, -1);  // a step of a denormal size is refused, zero stays zero
    EXPECT_EQ(view_state.centre_x, 0.0f);
    EXPECT_EQ(view_state.centre_y, 0.0f);
    view_state.zoom = 1.0f;
    pan_view(-508, 357);  // an ordinary step still moves both axes
    EXPECT_FLOAT_EQ(view_state.centre_x, view_state.aspect);
    EXPECT_EQ(view_state.centre_y, 1.0f);
}

TEST_F(ViewStateTest, ResizeSetsAspectAndZeroSizeKeepsIt) {
    set_viewport_size(64, 48);
    EXPECT_EQ(viewport_size.width, 64);
    EXPECT_EQ(viewport_size.height, 48);
    EXPECT_EQ(view_state.aspect, 64.0f / 48.0f);

    set_viewport_size(0, 0);  // minimised
    EXPECT_EQ(viewport_size.width, 0);
    EXPECT_EQ(viewport_size.height, 0);
    EXPECT_EQ(view_state.aspect, 64.0f / 48.0f);
    set_viewport_size(100, 0);
    EXPECT_EQ(view_state.aspect, 64.0f / 48.0f);

    float centre_x = view_state.centre_x, centre_y = view_state.centre_y;
    pan_view(10, 10);  // no size to pan by: nothing moves
    EXPECT_EQ(view_state.centre_x, centre_x);
    EXPECT_EQ(view_state.centre_y, centre_y);

    set_viewport_size(1016, 714);  // restored
    EXPECT_EQ(view_state.aspect, 1016.0f / 714.0f);
}

TEST_F(ViewStateTest, WorldToPixelCorners) {
    set_viewport_size(64, 48);
    compute_view_bounds();
    float px, py;
    world_to_pixel(view_state.left, view_state.bottom, &px, &py);
    EXPECT_EQ(px, 0.0f);
    EXPECT_EQ(py, 0.0f);
    world_to_pixel(view_state.right, view_state.top, &px, &py);
    EXPECT_EQ(px, 63.0f);
    EXPECT_EQ(py, 47.0f);
    world_to_pixel(view_state.centre_x, view_state.centre_y, &px, &py);
    EXPECT_FLOAT_EQ(px, 31.5f);
    EXPECT_FLOAT_EQ(py, 23.5f);
}

TEST_F(ViewStateTest, PanFollowsThePointer) {
    set_viewport_size(64, 48);
    compute_view_bounds();
    float visible_width = view_state.right - view_state.left;
    float visible_height = view_state.top - view_state.bottom;
    float centre_x = view_state.centre_x, centre_y = view_state.centre_y;

    pan_view(64, 0);  // a drag right by the width moves the centre left by the visible width
    EXPECT_FLOAT_EQ(view_state.centre_x, centre_x - visible_width);
    EXPECT_EQ(view_state.centre_y, centre_y);

    pan_view(0, 48);  // a drag down by the height moves the centre up by the visible height
    EXPECT_FLOAT_EQ(view_state.centre_y, centre_y + visible_height);

    pan_view(-32, -24);
    EXPECT_FLOAT_EQ(view_state.centre_x, centre_x - visible_width / 2);
    EXPECT_FLOAT_EQ(view_state.centre_y, centre_y + visible_height / 2);
}

TEST(TileRange, BoundsGiveTheTilesTheyTouchClampedToTheGrid) {
    const float E = 1e30f, H = 960.09296f;
    struct Case {
        float left, right, bottom, top;
        int32_t first_column, last_column, first_row, last_row;  // last < first: empty
    } cases[] = {
        {1317.0f - H, 1317.0f + H, 716.0f - H, 716.0f + H, 0, 4, 0, 2},  // the initial view
        {512.0f, 1024.0f, 0.0f, 512.0f, 1, 2, 0, 1},  // a bound on a tile edge includes the far tile
        {1023.9f, 1535.9f, 511.9f, 1023.9f, 1, 2, 0, 1},
        {-5000.0f, 1e9f, -E, E, 0, 5, 0, 2},
        {-INFINITY, INFINITY, -INFINITY, INFINITY, 0, 5, 0, 2},
        // Just inside: the left edge of column 5 and the bottom edge of row 2 still count.
        {3071.0f, 4000.0f, 1535.0f, 2000.0f, 5, 5, 2, 2},
        {-100.0f, 0.0f, -100.0f, 0.0f, 0, 0, 0, 0},  // a bound at 0 includes tile 0
        // Outside the grid: right < 0, left >= 3072, top < 0, bottom >= 1536, not a number.
        {-900.0f, -0.5f, 0.0f, 100.0f, 0, -1, 0, 0},
        {3072.0f, 4000.0f, 0.0f, 100.0f, 6, 5, 0, 0},
        {E, 2 * E, 0.0f, 100.0f, 6, 5, 0, 0},
        {0.0f, 100.0f, -900.0f, -0.5f, 0, 0, 0, -1},
        {0.0f, 100.0f, 1536.0f, 2000.0f, 0, 0, 3, 2},
        {0.0f, 100.0f, -E, -1e29f, 0, 0, 0, -1},
        {NAN, 100.0f, 0.0f, 100.0f, 0, -1, 0, -1},
        {0.0f, 100.0f, 0.0f, NAN, 0, -1, 0, -1},
    };
    for (const Case& c : cases) {
        const TileRange range = tile_range_for(c.left, c.right, c.bottom, c.top);
        SCOPED_TRACE(::testing::Message() << c.left << " " << c.right << " " << c.bottom << " " << c.top);
        EXPECT_EQ(c.first_column, range.first_column);
        EXPECT_EQ(c.last_column, range.last_column);
        EXPECT_EQ(c.first_row, range.first_row);
        EXPECT_EQ(c.last_row, range.last_row);
    }
}
