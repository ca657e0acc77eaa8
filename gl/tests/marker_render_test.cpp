#include <string.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/city_table.h"
#include "tests/support/shell_stand_in.h"
#include "gl/view.h"
#include "gl/gl_api.h"
#include "gl/tests/render_fixture.h"
#include "core/tiles.h"
#include "core/view.h"

// The strip: 64 x 32, four texels per cell. Cell k is (10 + 15k, 250 - 15k, 40);
// cell 3's upper half (rows 16 to 31) is pure blue, the transparent key.
static Rgb cell_colour(int k) { return Rgb{(uint8_t)(10 + 15 * k), (uint8_t)(250 - 15 * k), 40}; }

static void write_strip() {
    static uint8_t rgb[64 * 32 * 3];
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            int k = x / 4;
            Rgb c = (k == 3 && y >= 16) ? Rgb{0, 0, 255} : cell_colour(k);
            uint8_t* p = rgb + (y * 64 + x) * 3;
            p[0] = (uint8_t)c.r;
            p[1] = (uint8_t)c.g;
            p[2] = (uint8_t)c.b;
        }
    }
    write_test_bmp("./data/lolli.bmp", 64, 32, rgb);
}

class MarkerRender : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        use_grid_view();  // world 0..2048 x 0..1536, 32 world units a pixel
    }
    int add_city(int16_t x, int16_t y, int8_t value, uint8_t matched = 1) {
        CityRecord* city = &city_table.rows[city_table.count];
        city->map_x = x;
        city->map_y = y;
        city->mayor_total_terms = value;
        city->max_years = (int8_t)(15 - value);
        city->matched = matched;
        return city_table.count++;
    }
    // Pixel on the marker's axis, rise pixels above the tip of the city at (x, y).
    Rgb axis_pixel(int16_t x, int16_t y, int rise) {
        float px, py;
        world_to_pixel(x, y, &px, &py);
        return read_pixel((int)(px + 0.5f), (int)(py + 0.5f) + rise);
    }
};

TEST_F(MarkerRender, MarkerShowsItsCellColourStandingOnItsTip) {
    write_strip();
    ASSERT_EQ(load_marker_atlas(), 1);
    EXPECT_TRUE(recorded_messages.empty());
    add_city(320, 160, 5);   // pixel (9.8, 4.9)
    add_city(1280, 160, 0);  // pixel (39.4, 4.9)
    add_city(1920, 160, 15); // pixel (59, 4.9)
    redraw();
    Rgb c5 = cell_colour(5), c0 = cell_colour(0), c15 = cell_colour(15);
    EXPECT_RGB(axis_pixel(320, 160, 8), c5.r, c5.g, c5.b);
    EXPECT_RGB(axis_pixel(320, 160, 30), c5.r, c5.g, c5.b);
    EXPECT_RGB(axis_pixel(1280, 160, 16), c0.r, c0.g, c0.b);
    EXPECT_RGB(axis_pixel(1920, 160, 16), c15.r, c15.g, c15.b);
    // Beside the tip the tile shows: the triangle is 32 wide only at its top.
    float px, py;
    world_to_pixel(320, 160, &px, &py);
    EXPECT_RGB_NEAR(read_pixel((int)px + 8, (int)py + 2), 127, 127, 127, 1);
    EXPECT_RGB(read_pixel((int)px + 8, (int)py + 28), c5.r, c5.g, c5.b);

    view_state.display_mode = MAXIMUM_YEARS;  // 15 - value
    redraw();
    Rgb c10 = cell_colour(10);
    EXPECT_RGB(axis_pixel(320, 160, 16), c10.r, c10.g, c10.b);
}

TEST_F(MarkerRender, KeyedTexelsShowTheTileBeneath) {
    write_strip();
    ASSERT_EQ(load_marker_atlas(), 1);
    add_city(640, 320, 3);
    redraw();
    Rgb c3 = cell_colour(3);
    EXPECT_RGB(axis_pixel(640, 320, 8), c3.r, c3.g, c3.b);  // lower half: opaque
    EXPECT_RGB_NEAR(axis_pixel(640, 320, 26), 127, 127, 127, 1);    // upper half: keyed away
    // Linear filtering: where the two halves meet, a pixel blends them.
    int blended = 0;
    for (int rise = 10; rise < 24; ++rise) {
        Rgb p = axis_pixel(640, 320, rise);
        blended += p.g > 130 && p.g < 200;
    }
    EXPECT_GT(blended, 0);
}

TEST_F(MarkerRender, UnselectedMarkersAreDimmedWhileACityIsSelected) {
    write_strip();
    ASSERT_EQ(load_marker_atlas(), 1);
    int first = add_city(320, 160, 5);
    int second = add_city(1280, 160, 9);
    Rgb c5 = cell_colour(5), c9 = cell_colour(9);
    view_state.selected = second;
    redraw();
    // 40 % of the cell colour over the grey tile.
    EXPECT_RGB_NEAR(axis_pixel(320, 160, 16), 0.4 * c5.r + 0.6 * 127, 0.4 * c5.g + 0.6 * 127,
                    0.4 * c5.b + 0.6 * 127, 1.0);
    EXPECT_RGB(axis_pixel(1280, 160, 16), c9.r, c9.g, c9.b);

    view_state.selected = first;
    redraw();
    EXPECT_RGB(axis_pixel(320, 160, 16), c5.r, c5.g, c5.b);
    EXPECT_RGB_NEAR(axis_pixel(1280, 160, 16), 0.4 * c9.r + 0.6 * 127, 0.4 * c9.g + 0.6 * 127,
                    0.4 * c9.b + 0.6 * 127, 1.0);

    view_state.selected = -1;
    redraw();
    EXPECT_RGB(axis_pixel(1280, 160, 16), c9.r, c9.g, c9.b);
}

TEST_F(MarkerRender, UnmatchedAndOutOfViewCitiesAreNotDrawn) {
    write_strip();
    ASSERT_EQ(load_marker_atlas(), 1);
    add_city(320, 160, 5, 0);
    add_city(-33, 160, 5);  // left of the view: its upper right corner would reach in
    redraw();
    EXPECT_RGB_NEAR(axis_pixel(320, 160, 16), 127, 127, 127, 1);
    EXPECT_RGB_NEAR(read_pixel(4, 4 + 28), 127, 127, 127, 1);
}

TEST_F(MarkerRender, LaterCitiesCoverEarlierOnes) {
    write_strip();
    ASSERT_EQ(load_marker_atlas(), 1);
    int first = add_city(640, 320, 1);
    add_city(640, 320, 2);
    redraw();
    Rgb c1 = cell_colour(1), c2 = cell_colour(2);
    EXPECT_RGB(axis_pixel(640, 320, 16), c2.r, c2.g, c2.b);
    // The selected city keeps its place: the later, dimmed marker still lies over it.
    view_state.selected = first;
    redraw();
    EXPECT_RGB_NEAR(axis_pixel(640, 320, 16), 0.4 * c2.r + 0.6 * c1.r, 0.4 * c2.g + 0.6 * c1.g,
                    0.4 * c2.b + 0.6 * c1.b, 1.0);
}

TEST_F(MarkerRender, MissingStripIsReportedAndMarkersDrawWhite) {
    EXPECT_EQ(load_marker_atlas(), 0);
    ASSERT_EQ(recorded_messages.size(), 1u);
    EXPECT_EQ(recorded_messages[0].text, "Error");
    EXPECT_EQ(recorded_messages[0].caption, "Error: can't read lolli texture!");
    int first = add_city(320, 160, 5);
    add_city(1280, 160, 9);
    redraw();
    EXPECT_RGB(axis_pixel(320, 160, 16), 255, 255, 255);
    view_state.selected = first;
    redraw();
    EXPECT_RGB_NEAR(axis_pixel(1280, 160, 16), 178, 178, 178, 1);  // 0.4 * 255 + 0.6 * 127
}

TEST_F(MarkerRender, UnusableStripsAreRefusedWithTheSameMessage) {
    write_solid_bmp("./data/lolli.bmp", 512, 64, Rgb{1, 2, 3});  // 32768 pixels: too many
    EXPECT_EQ(load_marker_atlas(), 0);
    write_solid_bmp("./data/lolli.bmp", 48, 32, Rgb{1, 2, 3});   // not a power of two
    EXPECT_EQ(load_marker_atlas(), 0);
    ASSERT_EQ(recorded_messages.size(), 2u);
    EXPECT_EQ(recorded_messages[1].caption, "Error: can't read lolli texture!");
    EXPECT_FALSE(glIsTexture(MARKER_TEXTURE_NAME));

    write_solid_bmp("./data/lolli.bmp", 512, 32, Rgb{1, 2, 3});  // exactly fills the buffer
    EXPECT_EQ(load_marker_atlas(), 1);
    EXPECT_TRUE(glIsTexture(MARKER_TEXTURE_NAME));
}


TEST_F(MarkerRender, ZeroSizedOrTruncatedStripsAreRefused) {
    write_solid_bmp("./data/lolli.bmp", 512, 0, Rgb{1, 2, 3});  // a header and no rows
    EXPECT_EQ(load_marker_atlas(), 0);
    write_solid_bmp("./data/lolli.bmp", 0, 32, Rgb{1, 2, 3});   // rows of no bytes
    EXPECT_EQ(load_marker_atlas(), 0);
    write_strip();
    ASSERT_EQ(0, truncate("./data/lolli.bmp", 54 + 64 * 3 * 31));  // the top row is missing
    EXPECT_EQ(load_marker_atlas(), 0);
    ASSERT_EQ(recorded_messages.size(), 3u);
    for (const RecordedMessage& message : recorded_messages) {
        EXPECT_EQ(message.text, "Error");
        EXPECT_EQ(message.caption, "Error: can't read lolli texture!");
    }
    EXPECT_FALSE(glIsTexture(MARKER_TEXTURE_NAME));
}
