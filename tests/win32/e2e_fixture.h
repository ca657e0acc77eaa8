// One running baylith.exe per test case, in its own scratch folder; the process is
// always ended and the folder removed when the case ends.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "e2e_data.h"
#include "e2e_driver.h"

enum {
    QUERY_COMBO_FIRST = 1006,
    QUERY_CITY_LIST = 1048,
    INFO_EDIT = 1035,
    INFO_CLEAR = 1045,
    INFO_SAVE = 1046,
    ABOUT_OK = 1036,
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
    HWND query_panel() const { return find_panel(app.main_window, "Query Panel"); }
    HWND info_panel() const { return find_panel(app.main_window, "Info Panel"); }
    HWND about_box() const { return find_top_window(app.info.dwProcessId, "#32770", "About Ostrevan 1.0d"); }
    std::string info_text() const { return window_text(GetDlgItem(info_panel(), INFO_EDIT)); }
    std::string path_in_dir(const char* name) const { return dir + "\\" + name; }

    // Starts the program in dir, waits for the main window and the panels.
    void start_app();
    // Writes cities, marker strip and tiles, then starts the program.
    void start_with_data();

    // Waits until the screen shows the model's map (tiles loaded); "" when it does.
    std::string wait_for_map(int timeout_ms = WAIT_MAP_MS);
    // Waits until a city's marker shows (or, with drawn false, does not show) as
    // expected; alpha is its opacity. "" when it does.
    std::string wait_for_marker(int city, bool drawn, int display_mode, float alpha = 1.0f,
                                int timeout_ms = WAIT_TICK_MS);
    // Hides the Query panel as a user would: focus its first combo box with two
    // clicks (open, close) and press Esc, which reaches it through IsDialogMessageA.
    void hide_query_panel_with_esc();

    // Waits until the Info panel's text equals expected.
    std::string wait_for_info_text(const std::string& expected, int timeout_ms = WAIT_TICK_MS);
};
