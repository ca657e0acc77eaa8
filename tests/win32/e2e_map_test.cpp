// The map on screen: tiles, markers, zoom, pan and picking.
#include "e2e_fixture.h"

class Map : public AppTest {};

TEST_F(Map, EveryVisibleTileShowsItsColourAndMarkersTheirCells) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    // One tile a tick, bottom-left last: early on some tiles are still grey squares.
    ClientShot early;
    ASSERT_TRUE(capture_client(main_window(), &early));
    float centre_x, centre_y;
    world_to_client(view, 256.0f, 256.0f, &centre_x, &centre_y);  // middle of tile (0, 0)
    int x = (int)centre_x, y = (int)centre_y;
    ASSERT_TRUE(client_point_uncovered(main_window(), x, y)) << "tile (0, 0) is covered";
    EXPECT_TRUE(colour_near(TILE_GREY, early.at(x, y), COLOUR_TOLERANCE))
        << "bottom-left tile at start: " << early.at(x, y);
    EXPECT_EQ("", wait_for_map());
    // Initial mode "Mayor Total Terms"; the strip's blue top rows let the map through.
    for (int city = 0; city < TEST_CITY_COUNT; ++city) EXPECT_EQ("", wait_for_marker(city, true, 11));
}

TEST_F(Map, RightDragPansAndLeftDragDoesNot) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    post_drag(main_window(), false, 300, 600, 420, 560);
    settle(&app, 400);
    EXPECT_EQ("", wait_for_map(0)) << "a left drag moved the map";

    post_drag(main_window(), true, 300, 600, 420, 560);
    view_model_pan(&view, 120, -40);
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "after a right drag by (120, -40)";
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11));
}

TEST_F(Map, DoubleClickOnMarkerReportsSelectsAndDimsTheOthers) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    int x, y;
    pick_point(view, ALDERBROOK, &x, &y);
    post_double_click(main_window(), x, y);
    EXPECT_EQ("", wait_for_info_text(report_text(ALDERBROOK, 4)));
    EXPECT_TRUE(IsWindowVisible(info_panel()));
    HWND list = GetDlgItem(query_panel(), QUERY_CITY_LIST);
    EXPECT_EQ(ALDERBROOK, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11, 0.4f));
    EXPECT_EQ("", wait_for_marker(DUNMERE, true, 11, 0.4f));

    // A second city, a few pixels off its reference point, still hits.
    pick_point(view, DUNMERE, &x, &y);
    post_double_click(main_window(), x + 5, y - 5);
    EXPECT_EQ("", wait_for_info_text(report_text(ALDERBROOK, 4) + report_text(DUNMERE, 4)));
    EXPECT_EQ(DUNMERE, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ("", wait_for_marker(DUNMERE, true, 11));
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11, 0.4f));

    // 12 pixels from Caddow's reference point is out of reach (11.3137).
    pick_point(view, CADDOW, &x, &y);
    std::string before = info_text();
    post_double_click(main_window(), x + 12, y);
    settle(&app, 300);
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(before, info_text());
    post_double_click(main_window(), x + 8, y);
    EXPECT_EQ("", wait_for_info_text(before + report_text(CADDOW, 4)));
    EXPECT_EQ(CADDOW, SendMessageW(list, LB_GETCURSEL, 0, 0));

    // Empty map: no report, no list selection, every marker at full strength.
    before = info_text();
    post_double_click(main_window(), 60, view.height - 40);
    settle(&app, 300);
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(before, info_text());
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11));
}

TEST_F(Map, DisplayModesRecolourTheMarkers) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    post_command(main_window(), 19);  // "Maximum Years"
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, true, 19, 1.0f, 500));
    EXPECT_EQ("", wait_for_marker(DUNMERE, true, 19, 1.0f, 500));
    post_command(main_window(), 13);  // "Mayor Term Length"
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, true, 13, 1.0f, 500));
    EXPECT_EQ("", wait_for_marker(BRENNIC_FALLS, true, 13, 1.0f, 500));
    post_command(main_window(), 17);  // "Council Terms Length"
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 17, 1.0f, 500));
    post_command(main_window(), 11);
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, true, 11, 1.0f, 500));
}

TEST_F(Map, WheelPastTheExtremeAndBackDrawsTheMapAgain) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    const float start_zoom = view.zoom;
    // Far past where the zoom would turn infinite (about 850 steps out); each event
    // is one step whatever its delta, and a delta of 0 zooms in.
    for (int i = 0; i < 900; ++i) {
        post_wheel(main_window(), i % 2 ? -120 : -240);
        view_model_zoom(&view, i % 2 ? -120 : -240);
    }
    post_drag(main_window(), true, 300, 600, 420, 560);
    for (int i = 0; i < 4; ++i) view_model_pan(&view, 30, -10);
    choose_list_item(query_panel(), QUERY_CITY_LIST, CADDOW);
    view.centre_x = (float)test_cities[CADDOW].map_x;
    view.centre_y = (float)test_cities[CADDOW].map_y;
    int steps_in = 0;
    while (view.zoom > start_zoom) {
        post_wheel(main_window(), steps_in % 2 ? 120 : 0);
        view_model_zoom(&view, steps_in % 2 ? 120 : 0);
        ++steps_in;
    }
    EXPECT_GT(steps_in, 700);
    EXPECT_EQ("", wait_for_map(60000)) << "after " << steps_in << " steps back in";
}
