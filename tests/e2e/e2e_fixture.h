// One running baylith.exe per test case, in its own scratch folder; the process is
// always ended and the folder removed when the case ends.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "e2e_data.h"
#include "e2e_driver.h"

// Short names for the panels' controls.
enum {
    QUERY_COMBO_FIRST = IDC_QUERY_FIRST_CRITERION,
    QUERY_CITY_LIST = IDC_QUERY_CITY_LIST,
    INFO_EDIT = IDC_INFO_TEXT,
    INFO_CLEAR = IDC_INFO_CLEAR,
    INFO_SAVE = IDC_INFO_SAVE,
    ABOUT_OK = IDC_ABOUT_OK,
    WAIT_MAP_MS = 10000,
    WAIT_TICK_MS = 3000,
};

class AppTest : public ::testing::Test {
protected:
    std::string dir;
    AppProcess app = {};
    ViewModel view = {};

    void SetUp() override;
    void TearDown() override;

    DWORD pid() const { return app.info.dwProcessId; }
    HWND main_window() const { return app.main_window; }
    HWND query_panel() const { return query_panel_of(app.main_window); }
    HWND info_panel() const { return info_panel_of(app.main_window); }
    HWND about_box() const { return about_box_of(app.info.dwProcessId); }
    std::string info_text() const { return window_text(GetDlgItem(info_panel(), INFO_EDIT)); }
    std::string path_in_dir(const char* name) const { return dir + "\\" + name; }

    // Starts the program in dir, waits for the main window and the panels.
    void start_app();
    // The waiting part of start_app, for a program launched already.
    void wait_for_start();
    // Writes cities, marker strip and tiles, then starts the program.
    void start_with_data();

    // Waits until the screen shows the model's map (tiles loaded), but for the tiles
    // coloured one of grey_tiles, which must show the not-loaded grey; "" when it does.
    std::string wait_for_map(int timeout_ms = WAIT_MAP_MS, const std::vector<Rgb>& grey_tiles = {});
    // Waits until a city's marker shows (or, with drawn false, does not show) as
    // expected; alpha is its opacity. "" when it does.
    std::string wait_for_marker(int city, bool drawn, int display_mode, float alpha = 1.0f,
                                int timeout_ms = WAIT_TICK_MS);
    // Hides the Query panel as a user would: focus its first combo box with two
    // clicks (open, close) and press Esc, which reaches it through IsDialogMessageA.
    void hide_query_panel_with_esc();

    // Waits for the start-up box captioned caption, which says "Error", while no box
    // captioned not_yet (when given) shows; *box gets it, still open.
    void expect_data_box(const char* caption, const char* not_yet, HWND* box);

    // Posts a menu command and waits until the window shows as it should.
    bool command_shows(int id, HWND window, int timeout_ms = WAIT_TICK_MS) {
        post_command(app.main_window, id);
        return wait_until(timeout_ms, [&] { return IsWindowVisible(window) != FALSE; });
    }

    // Waits until the Info panel's text equals expected.
    std::string wait_for_info_text(const std::string& expected, int timeout_ms = WAIT_TICK_MS);
};
