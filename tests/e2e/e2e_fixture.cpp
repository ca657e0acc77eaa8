#include "e2e_fixture.h"

#include <sstream>

#include "win32/frame.h"

void AppTest::SetUp() {
    dir = make_scratch_dir();
    ASSERT_FALSE(dir.empty()) << "no scratch folder";
}

void AppTest::TearDown() {
    stop_app(&app);
    remove_tree(dir);
}

void AppTest::start_app() {
    std::string error;
    ASSERT_TRUE(launch_app(dir, &app, &error)) << error;
    wait_for_start();
}

void AppTest::wait_for_start() {
    ASSERT_TRUE(wait_for_main_window(&app, WAIT_WINDOW_MS)) << "no main window \"Baylith 1.0\"";
    ASSERT_TRUE(wait_until(WAIT_WINDOW_MS, [&] { return query_panel() != NULL; })) << "no Query Panel";
    settle(&app, 50);
    RECT client, frame;
    GetClientRect(app.main_window, &client);
    view_model_init(&view, client.right, client.bottom);
    // 1024 x 768 at 100 %; where the frame grows with the scale too (Wine 10, which
    // takes the window path, and Windows) the client area is 1016 x 715 times it.
    GetWindowRect(app.main_window, &frame);
    EXPECT_EQ(at_scale(1024), frame.right - frame.left);
    EXPECT_EQ(at_scale(768), frame.bottom - frame.top);
    if (!gl_through_bitmaps()) {
        EXPECT_NEAR(1016 * RUN_SCALE, client.right, 3.0f);
        EXPECT_NEAR(715 * RUN_SCALE, client.bottom, 3.0f);
    }
}

void AppTest::start_with_data() {
    ASSERT_TRUE(write_full_data(dir));
    start_app();
}

void AppTest::expect_data_box(const char* caption, const char* not_yet, HWND* box) {
    std::string text;
    *box = wait_for_message_box(pid(), caption, &text, WAIT_WINDOW_MS);
    ASSERT_TRUE(*box) << "no \"" << caption << "\" box";
    EXPECT_EQ("Error", text);
    if (not_yet) {
        EXPECT_FALSE(find_top_window(pid(), "#32770", not_yet)) << "at the same time as " << caption;
    }
}

void AppTest::hide_query_panel_with_esc() {
    HWND query = query_panel();
    ASSERT_TRUE(IsWindowVisible(query));
    HWND combo = GetDlgItem(query, QUERY_COMBO_FIRST);
    real_click_control(combo);
    real_click_control(combo);
    ASSERT_EQ(combo, focused_window(main_window())) << "the first combo box did not take the focus";
    real_key(VK_ESCAPE);
    ASSERT_TRUE(wait_for_window_gone(query, 2000)) << "Esc did not hide the Query panel";
    EXPECT_EQ(0, SendMessageW(combo, CB_GETCURSEL, 0, 0)) << "opening and closing the list changed it";
}

std::string AppTest::wait_for_map(int timeout_ms, const std::vector<Rgb>& grey_tiles) {
    std::string failure;
    wait_until(timeout_ms, [&] {
        ClientShot shot;
        int checked = 0, grey = 0;
        failure = !capture_client(app.main_window, &shot) ? "no capture"
                  : compare_map(shot, view, app.main_window, true, &checked, &grey_tiles, &grey);
        if (failure.empty() && checked - grey < 100) failure = "too few map points visible";
        if (failure.empty() && !grey_tiles.empty() && grey < 10) failure = "too few points of the grey tiles visible";
        return failure.empty();
    }, 100);
    return failure;
}

std::string AppTest::wait_for_marker(int city, bool drawn, int display_mode, float alpha, int timeout_ms) {
    int x, body_y, keyed_y;
    marker_points(view, city, &x, &body_y, &keyed_y);
    if (!client_point_uncovered(app.main_window, x, body_y) ||
        !client_point_uncovered(app.main_window, x, keyed_y))
        return "marker of " + std::string(test_cities[city].list_name) + " is covered by a window";
    Rgb map_body = map_colour_at(view, x, body_y);
    Rgb expected_body = drawn ? blend(marker_cell_colour(marker_cell(city, display_mode)), map_body, alpha) : map_body;
    Rgb expected_keyed = map_colour_at(view, x, keyed_y);
    std::string failure = "no capture";
    wait_until(timeout_ms, [&] {
        ClientShot shot;
        if (!capture_client(app.main_window, &shot)) return false;
        Rgb body = shot.at(x, body_y), keyed = shot.at(x, keyed_y);
        if (colour_near(body, expected_body, COLOUR_TOLERANCE) && colour_near(keyed, expected_keyed, COLOUR_TOLERANCE))
            return failure.clear(), true;
        std::ostringstream seen;
        seen << test_cities[city].list_name << " marker at (" << x << ", " << body_y << "): saw " << body
             << " expected " << expected_body << "; keyed top at (" << x << ", " << keyed_y << "): saw " << keyed
             << " expected " << expected_keyed;
        failure = seen.str();
        return false;
    }, 50);
    return failure;
}

std::string AppTest::wait_for_info_text(const std::string& expected, int timeout_ms) {
    std::string text;
    if (wait_until(timeout_ms, [&] { return (text = info_text()) == expected; }, 30)) return "";
    return "Info text is\n[" + text + "]\nexpected\n[" + expected + "]";
}
