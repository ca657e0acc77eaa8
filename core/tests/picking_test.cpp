#include <math.h>
#include <string.h>

#include <gtest/gtest.h>

#include "core/city_table.h"
#include "core/image.h"
#include "core/markers.h"
#include "core/view.h"

// A 64 x 48 viewport over world x 0..630, y 0..470: world_to_pixel is x / 10, y / 10.
class PickTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_state = view_state;
        saved_size = viewport_size;
        memset(&city_table, 0, sizeof city_table);
        viewport_size = ViewportSize{64, 48};
        view_state.left = 0.0f;
        view_state.right = 630.0f;
        view_state.bottom = 0.0f;
        view_state.top = 470.0f;
        view_state.selected = -1;
    }
    void TearDown() override {
        view_state = saved_state;
        viewport_size = saved_size;
        memset(&city_table, 0, sizeof city_table);
    }
    int add_city(int16_t x, int16_t y, uint8_t matched = 1) {
        CityRecord* city = &city_table.rows[city_table.count];
        city->map_x = x;
        city->map_y = y;
        city->matched = matched;
        return city_table.count++;
    }
    // A click at (x, y): what pick_city answers and which row is then selected.
    void expect_pick(int16_t x, int16_t y, int picked, int selected) {
        EXPECT_EQ(picked, pick_city(x, y)) << x << "," << y;
        EXPECT_EQ(selected, view_state.selected) << x << "," << y;
    }
    ViewState saved_state;
    ViewportSize saved_size;
};

TEST_F(PickTest, ClickOnTheMarkerMiddleSelectsAtDistanceZero) {
    add_city(100, 100);
    int city = add_city(300, 200);  // pixel (30, 20), reference point (30, 36)
    expect_pick(30, 48 - 1 - 36, 1, city);
}

TEST_F(PickTest, NearestCityWinsAndTiesGoToTheEarlierRow) {
    int first = add_city(200, 100);   // reference (20, 26)
    int second = add_city(240, 100);  // reference (24, 26)
    int nearest = add_city(260, 100); // reference (26, 26)
    expect_pick(25, 47 - 26, 1, second);  // 1 from nearest, 1 from second: second came first
    expect_pick(22, 47 - 26, 1, first);  // 2 from both first and second
    expect_pick(27, 47 - 26, 1, nearest);
}

TEST_F(PickTest, NoCityOrAnUnmatchedOneLeavesNothingSelected) {
    view_state.selected = 7;
    expect_pick(30, 47 - 36, 0, -1);
    add_city(300, 200, 0);  // under the mouse but not matched
    view_state.selected = 7;
    expect_pick(30, 47 - 36, 0, -1);

    int far_one = add_city(300, 100);  // reference (30, 26): 10 away, within reach
    expect_pick(30, 47 - 36, 1, far_one);
}

TEST_F(PickTest, CitiesOnTheBoundsCountAndOneUnitOutsideDoNot) {
    int on_left = add_city(0, 0);         // pixel (0, 0), reference (0, 16)
    int on_right = add_city(630, 470);    // pixel (63, 47), reference (63, 63)
    expect_pick(0, 47 - 16, 1, on_left);
    expect_pick(63, 47 - 63, 1, on_right);  // above the client area, on its reference point

    memset(&city_table, 0, sizeof city_table);
    add_city(-1, 100);   // one unit left of the view
    add_city(631, 100);  // right
    add_city(100, -1);   // below
    add_city(100, 471);  // above
    expect_pick(0, 47 - 26, 0, -1);
    expect_pick(63, 47 - 26, 0, -1);
    expect_pick(10, 47 - 16, 0, -1);
    expect_pick(10, 0, 0, -1);
}

TEST_F(PickTest, RadiusIsJustUnderEightRootTwo) {
    add_city(300, 200);  // reference (30, 36)
    expect_pick(30 + 8, 47 - 36 - 8, 0, -1);  // 8 right, 8 up: 11.31371 misses
    expect_pick(30 + 11, 47 - 36 + 2, 1, 0);  // sqrt(125) = 11.18 hits
    expect_pick(30, 47 - 36 - 11, 1, 0);
    expect_pick(30, 47 - 36 - 12, 0, -1);
}

// At 144 dots per inch the reference is 24 above the tip, and 12 right and 12 up
// (16.97056) is a hair past 1.5 x 11.3137; at 120, 20 above and 10 and 10 past.
TEST_F(PickTest, RadiusAndReferencePointGrowWithTheDisplayScale) {
    add_city(300, 200);  // tip (30, 20)
    const struct { int dpi, above, off; } scales[] = {{144, 24, 12}, {120, 20, 10}};
    for (const auto& at : scales) {
        set_display_dpi(at.dpi);
        const int16_t reference_y = (int16_t)(47 - 20 - at.above);
        expect_pick(30, reference_y, 1, 0);
        expect_pick((int16_t)(30 + at.off), (int16_t)(reference_y - at.off), 0, -1);
        expect_pick((int16_t)(30 + at.off), (int16_t)(reference_y - at.off + 1), 1, 0);
    }
    set_display_dpi(0);  // unknown: 100 %
    EXPECT_EQ(1.0f, display_scale);
}

// The city (200, 0) sits on the bottom bound, so its reference point is at pixel
// height 16, level with a click at (0, 16); its distance from the click is then its
// px. Slides the view sideways, a float at a time at the end, until that distance
// is exactly the wanted float.
static float distance_for_left(float left) {
    view_state.left = left;
    view_state.right = left + 630.0f;
    float px, py;
    world_to_pixel(200.0f, 0.0f, &px, &py);
    return point_distance(px, py + 16.0f, 0.0f, 16.0f);
}

static bool place_at_distance(float wanted) {
    double low = 0.0, high = 199.0;  // distance falls as left rises
    for (int i = 0; i < 80; ++i) {
        double middle = (low + high) / 2;
        if (distance_for_left((float)middle) > wanted) {
            low = middle;
        } else {
            high = middle;
        }
    }
    float left = (float)low;
    for (int step = 0; step < 4000; ++step) {
        float d = distance_for_left(left);
        if (d == wanted) {
            return true;
        }
        left = d > wanted ? nextafterf(left, 1e9f) : nextafterf(left, -1e9f);
    }
    return false;
}

TEST_F(PickTest, ExactlyTheRadiusSelectsAndTheNextFloatDoesNot) {
    add_city(200, 0);
    int16_t mouse_x = 0, mouse_y = 47 - 16;
    ASSERT_TRUE(place_at_distance(PICK_RADIUS));
    expect_pick(mouse_x, mouse_y, 1, 0);

    ASSERT_TRUE(place_at_distance(nextafterf(PICK_RADIUS, 100.0f)));
    expect_pick(mouse_x, mouse_y, 0, -1);
}

TEST(MarkerValue, EachModeShowsItsField) {
    CityRecord city;
    memset(&city, 0, sizeof city);
    city.mayor_total_terms = 1;
    city.mayor_consecutive_terms = 2;
    city.mayor_term_length = 3;
    city.council_total_terms = 5;
    city.council_consecutive_terms = 6;
    city.council_term_length = 7;
    city.max_years = -9;
    city.council_size = 99;
    EXPECT_EQ(marker_value(&city, MAYOR_TOTAL_TERMS), 1);
    EXPECT_EQ(marker_value(&city, MAYOR_CONSECUTIVE_TERMS), 2);
    EXPECT_EQ(marker_value(&city, MAYOR_TERM_LENGTH), 3);
    EXPECT_EQ(marker_value(&city, COUNCIL_TOTAL_TERMS), 5);
    EXPECT_EQ(marker_value(&city, COUNCIL_CONSECUTIVE_TERMS), 6);
    EXPECT_EQ(marker_value(&city, COUNCIL_TERMS_LENGTH), 7);
    EXPECT_EQ(marker_value(&city, MAXIMUM_YEARS), -9);  // sign-extended
    EXPECT_EQ(marker_value(&city, 14), 0);
    EXPECT_EQ(marker_value(&city, 18), 0);
}

TEST(MarkerStaging, OnlyPureBlueIsTransparent) {
    uint8_t rgb[] = {0, 0, 255, 0, 0, 254, 1, 0, 255, 0, 1, 255, 10, 20, 30, 255, 255, 255};
    Image strip = {6, 1, 3, rgb};
    uint8_t staging[6 * 4 + 4];
    memset(staging, 0xEE, sizeof staging);
    ASSERT_EQ(build_marker_staging(&strip, staging, 24), 1);
    const uint8_t expected[] = {0, 0, 255, 0,   0, 0, 254, 255, 1, 0, 255, 255,
                                0, 1, 255, 255, 10, 20, 30, 255, 255, 255, 255, 255};
    EXPECT_EQ(memcmp(staging, expected, sizeof expected), 0);
    EXPECT_EQ(staging[24], 0xEE);  // nothing past the strip
}

TEST(MarkerStaging, StripLargerThanTheBufferIsRefused) {
    static uint8_t rgb[512 * 33 * 3];
    static uint8_t staging[MARKER_STAGING_BYTES];
    Image exact = {512, 32, 3, rgb};
    EXPECT_EQ(build_marker_staging(&exact, staging, sizeof staging), 1);
    Image too_tall = {512, 33, 3, rgb};
    EXPECT_EQ(build_marker_staging(&too_tall, staging, sizeof staging), 0);
    Image empty = {0, 0, 3, NULL};
    EXPECT_EQ(build_marker_staging(&empty, staging, sizeof staging), 0);
    Image four_channels = {2, 2, 4, rgb};
    EXPECT_EQ(build_marker_staging(&four_channels, staging, sizeof staging), 0);
}
