// The map on screen: tiles, markers, zoom, pan and picking.
#include "e2e_fixture.h"

class Map : public AppTest {};

TEST_F(Map, EveryVisibleTileShowsItsColourAndMarkersTheirCells) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    // One tile a tick, bottom-left last: early on some tiles are still grey squares.
    float centre_x, centre_y;
    world_to_client(view, 256.0f, 256.0f, &centre_x, &centre_y);  // middle of tile (0, 0)
    int x = (int)centre_x, y = (int)centre_y;
    ASSERT_TRUE(client_point_uncovered(main_window(), x, y)) << "tile (0, 0) is covered";
    Rgb early = {};
    wait_until(500, [&] {  // once the first frame is up
        ClientShot shot;
        return capture_client(main_window(), &shot) && colour_near(TILE_GREY, early = shot.at(x, y), COLOUR_TOLERANCE);
    });
    EXPECT_TRUE(colour_near(TILE_GREY, early, COLOUR_TOLERANCE)) << "bottom-left tile at start: " << early;
    EXPECT_EQ("", wait_for_map());
    ASSERT_NO_FATAL_FAILURE(hide_query_panel_with_esc());  // it stands over Dunmere
    // Initial mode "Mayor Total Terms"; the strip's blue top rows let the map through.
    for (int city = 0; city < TEST_CITY_COUNT; ++city) EXPECT_EQ("", wait_for_marker(city, true, 11));
}

// A point of empty map, away from the panels, the markers and the tile edges.
static void empty_map_point(const ViewModel& view, int* x, int* y) {
    *x = 60;
    *y = view.height - 40;
}

TEST_F(Map, WheelZoomsAboutTheCentre) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    // The wheel goes to the focus window: a click on the map takes the focus from
    // the Query panel, whose focused combo box would take the wheel instead.
    int x, y;
    empty_map_point(view, &x, &y);
    real_click(main_window(), x, y);
    real_wheel(main_window(), x, y, 120);
    view_model_zoom(&view, 120);
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "after one step in";
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, true, 11));
    real_wheel(main_window(), x, y, -120);
    real_wheel(main_window(), x, y, -240);
    view_model_zoom(&view, -120);
    view_model_zoom(&view, -240);
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "after two steps out";
    EXPECT_EQ("", wait_for_marker(BRENNIC_FALLS, true, 11));
    EXPECT_EQ(0, SendMessageW(GetDlgItem(query_panel(), QUERY_COMBO_FIRST), CB_GETCURSEL, 0, 0))
        << "the wheel reached the Query panel";
}

TEST_F(Map, RightDragPansAndLeftDragDoesNot) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    ASSERT_TRUE(client_point_uncovered(main_window(), 300, 600));
    real_drag(main_window(), false, 300, 600, 420, 560);
    settle(&app, 400);
    EXPECT_EQ("", wait_for_map(0)) << "a left drag moved the map";

    real_drag(main_window(), true, 300, 600, 420, 560);
    view_model_pan(&view, 120, -40);
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "after a right drag by (120, -40)";
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11));
}

// Real double clicks: the second press arrives as WM_LBUTTONDBLCLK only when the
// window class asks for double clicks.
TEST_F(Map, DoubleClickOnMarkerReportsSelectsAndDimsTheOthers) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    ASSERT_NO_FATAL_FAILURE(hide_query_panel_with_esc());
    HWND list = GetDlgItem(query_panel(), QUERY_CITY_LIST);
    int x, y;
    pick_point(view, ALDERBROOK, &x, &y);
    ASSERT_TRUE(client_point_uncovered(main_window(), x, y));
    real_click(main_window(), x, y);  // one click picks nothing
    settle(&app, 300);
    EXPECT_EQ("", info_text());
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    real_double_click(main_window(), x, y);
    EXPECT_EQ("", wait_for_info_text(report_text(ALDERBROOK, 4)));
    EXPECT_TRUE(IsWindowVisible(info_panel()));
    EXPECT_EQ(ALDERBROOK, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11, 0.4f));
    EXPECT_EQ("", wait_for_marker(DUNMERE, true, 11, 0.4f));

    // The report's fixed columns line up, one line of the font at the display's
    // scale (16 pixels at 100 %) below another.
    HWND edit = GetDlgItem(info_panel(), INFO_EDIT);
    const LRESULT first = SendMessageW(edit, EM_POSFROMCHAR, SendMessageW(edit, EM_LINEINDEX, 3, 0) + 31, 0);
    for (int line = 4; line <= 7; ++line) {
        LRESULT column = SendMessageW(edit, EM_POSFROMCHAR, SendMessageW(edit, EM_LINEINDEX, line, 0) + 31, 0);
        EXPECT_EQ(LOWORD(first), LOWORD(column)) << "line " << line;
        EXPECT_NEAR(16.0f * RUN_SCALE * (line - 3), (short)HIWORD(column) - (short)HIWORD(first), line - 3.0f);
    }

    // A second city, a few pixels off its reference point, still hits.
    pick_point(view, DUNMERE, &x, &y);
    ASSERT_TRUE(client_point_uncovered(main_window(), x + at_scale(5), y - at_scale(5)));
    real_double_click(main_window(), x + at_scale(5), y - at_scale(5));
    EXPECT_EQ("", wait_for_info_text(report_text(ALDERBROOK, 4) + report_text(DUNMERE, 4)));
    EXPECT_EQ(DUNMERE, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ("", wait_for_marker(DUNMERE, true, 11));
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11, 0.4f));

    // Empty map: no report, no list selection, every marker at full strength.
    std::string before = info_text();
    empty_map_point(view, &x, &y);
    ASSERT_TRUE(client_point_uncovered(main_window(), x, y));
    real_double_click(main_window(), x, y);
    settle(&app, 300);
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(before, info_text());
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11));
}

TEST_F(Map, DisplayModesRecolourTheMarkers) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    ASSERT_NO_FATAL_FAILURE(hide_query_panel_with_esc());
    // From the keyboard: Alt opens the menu bar on "File", Right moves to "Display",
    // Down opens it on "Mayor Total Terms" and Up wraps round to "Maximum Years".
    int x, y;
    empty_map_point(view, &x, &y);
    real_click(main_window(), x, y);
    real_key(VK_MENU);
    real_key(VK_RIGHT);
    real_key(VK_DOWN);
    real_key(VK_UP);
    real_key(VK_RETURN);
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, true, 19, 1.0f, 500));
    EXPECT_EQ("", wait_for_marker(DUNMERE, true, 19, 1.0f, 500));
    post_command(main_window(), MAYOR_TERM_LENGTH);
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, true, 13, 1.0f, 500));
    EXPECT_EQ("", wait_for_marker(BRENNIC_FALLS, true, 13, 1.0f, 500));
    post_command(main_window(), COUNCIL_TERMS_LENGTH);
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 17, 1.0f, 500));
    post_command(main_window(), MAYOR_TOTAL_TERMS);
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
    // Posted like the wheel steps, so that the pan comes after them: input
    // would be taken ahead of the posted messages still queued.
    PostMessageA(main_window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 600));
    for (int i = 1; i <= 4; ++i) {
        PostMessageA(main_window(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(300 + 30 * i, 600 - 10 * i));
        view_model_pan(&view, 30, -10);
    }
    PostMessageA(main_window(), WM_RBUTTONUP, 0, MAKELPARAM(420, 560));
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
