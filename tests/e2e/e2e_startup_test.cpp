// Start-up, data errors and both ways out.
#include "e2e_fixture.h"

#include "core/query.h"

class Startup : public AppTest {};

TEST_F(Startup, EmptyFolderReportsBothDataFilesThenRunsAndClosesWithZero) {
    ASSERT_TRUE(launch_app(dir, &app));
    // The main window is already up behind the box; the marker box waits its turn.
    HWND box = NULL;
    ASSERT_NO_FATAL_FAILURE(expect_data_box("Error: can't read terms file!", "Error: can't read lolli texture!", &box));
    EXPECT_TRUE(find_top_window(pid(), "mainw", "Baylith 1.0"));
    ASSERT_TRUE(dismiss_box(box));
    ASSERT_NO_FATAL_FAILURE(expect_data_box("Error: can't read lolli texture!", NULL, &box));
    ASSERT_TRUE(dismiss_box(box));

    ASSERT_TRUE(wait_for_main_window(&app, WAIT_WINDOW_MS));
    char class_name[32];
    GetClassNameA(main_window(), class_name, sizeof class_name);
    EXPECT_STREQ("mainw", class_name);
    EXPECT_TRUE(IsWindowVisible(main_window()));
    ASSERT_TRUE(wait_until(5000, [&] { return query_panel() != NULL; }));
    EXPECT_EQ(0, SendMessageW(GetDlgItem(query_panel(), QUERY_CITY_LIST), LB_GETCOUNT, 0, 0));

    PostMessageA(main_window(), WM_CLOSE, 0, 0);
    DWORD exit_code = 12345;
    ASSERT_TRUE(wait_for_exit(&app, WAIT_EXIT_MS, &exit_code)) << "still running after WM_CLOSE";
    EXPECT_EQ(0u, exit_code);
}

TEST_F(Startup, ValidDataShowsNoErrorBoxAndQuitExitsWithZero) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    settle(&app, 300);
    EXPECT_FALSE(find_top_window(pid(), "#32770", "Error: can't read terms file!"));
    EXPECT_FALSE(find_top_window(pid(), "#32770", "Error: can't read lolli texture!"));
    EXPECT_TRUE(other_top_windows(pid(), main_window()).empty());

    post_command(main_window(), CMD_QUIT);
    DWORD exit_code = 12345;
    ASSERT_TRUE(wait_for_exit(&app, WAIT_EXIT_MS, &exit_code)) << "still running after Quit";
    EXPECT_EQ(0u, exit_code);
}

TEST_F(Startup, QueryPanelShownWithEveryChoiceAndCityInfoAndAboutHidden) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    HWND query = query_panel();
    ASSERT_TRUE(query);
    EXPECT_TRUE(IsWindowVisible(query));
    ASSERT_TRUE(info_panel());
    EXPECT_FALSE(IsWindowVisible(info_panel()));
    EXPECT_FALSE(about_box());

    for (int i = 0; i < QUERY_CRITERIA; ++i) {
        std::vector<std::string> expected = {"ALL"};
        for (int choice = 0; choice < QUERY_CHOICES[i].choice_count; ++choice)
            expected.push_back(QUERY_CHOICES[i].choices[choice].text);
        HWND combo = GetDlgItem(query, QUERY_COMBO_FIRST + i);
        ASSERT_TRUE(combo) << "combo " << QUERY_COMBO_FIRST + i;
        EXPECT_EQ(expected, combo_items(combo)) << "combo " << QUERY_COMBO_FIRST + i;
        EXPECT_EQ(0, SendMessageW(combo, CB_GETCURSEL, 0, 0)) << "combo " << QUERY_COMBO_FIRST + i;
    }
    HWND list = GetDlgItem(query, QUERY_CITY_LIST);
    const std::vector<std::string> names = {"Alderbrook   ", "Brennic Falls", "Caddow       ", "Dunmere      "};
    EXPECT_EQ(names, list_items(list));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
}
