// Bad input the running program meets: save paths it cannot write, a minimised
// window, an unusable marker strip and a corrupt tile.
#include "e2e_fixture.h"

#include <algorithm>

#include "core/image.h"

class BadInput : public AppTest {
protected:
    // A save path that cannot be written even as root: its folder is a regular file.
    std::string blocked_path(const char* name) {
        EXPECT_TRUE(write_file(path_in_dir("blocker"), "keep me"));
        return path_in_dir("blocker") + "\\" + name;
    }

    // Chooses path in the open save dialog and expects "Save failed" with caption
    // "Error", never "Save complete"; the blocking file is left as it was.
    void expect_save_failed(const std::string& path) {
        expect_refused(wide(path), "Save failed");
        std::string bytes;
        ASSERT_TRUE(read_file(path_in_dir("blocker"), &bytes));
        EXPECT_EQ("keep me", bytes);
    }

    // Chooses path in the open save dialog and expects an "Error" box saying text;
    // no "Save complete" then or after.
    void expect_refused(const std::wstring& path, const char* text) {
        EXPECT_EQ(text, save_through_dialog(pid(), path, "Error"));
        settle(&app, 200);
        EXPECT_FALSE(find_top_window(pid(), "#32770", "Info")) << "\"Save complete\" after a failed save";
    }
};

TEST_F(BadInput, SnapshotToAnUnwritablePathSaysSaveFailedAndKeepsTheBlockingFile) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    std::string path = blocked_path("view.bmp");
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    ASSERT_NO_FATAL_FAILURE(expect_save_failed(path));
    std::vector<std::string> names = list_dir(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"blocker", "data"}), names);  // nothing left behind
    // The tick was restarted: the tiles still come in.
    EXPECT_EQ("", wait_for_map());
    EXPECT_TRUE(app_alive(&app));
}

TEST_F(BadInput, InfoSaveToAnUnwritablePathOrReadOnlyFileFailsAndKeepsTheText) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    choose_list_item(query_panel(), QUERY_CITY_LIST, DUNMERE);
    ASSERT_EQ("", wait_for_info_text(report_text(DUNMERE, 4)));
    std::string path = blocked_path("report.txt");
    click_button(info_panel(), INFO_SAVE);
    ASSERT_NO_FATAL_FAILURE(expect_save_failed(path));
    EXPECT_EQ(report_text(DUNMERE, 4), info_text());

    std::string bytes;
    // A read-only file is not replaced, even after Yes to the overwrite question.
    ASSERT_TRUE(write_file(path_in_dir("report.txt"), "read only"));
    ASSERT_TRUE(SetFileAttributesA(path_in_dir("report.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    click_button(info_panel(), INFO_SAVE);
    EXPECT_EQ("The file is read-only and was not replaced.",
              save_through_dialog(pid(), wide(path_in_dir("report.txt")), "Error", IDYES));
    ASSERT_TRUE(read_file(path_in_dir("report.txt"), &bytes));
    EXPECT_EQ("read only", bytes);
    EXPECT_TRUE(GetFileAttributesA(path_in_dir("report.txt").c_str()) & FILE_ATTRIBUTE_READONLY);

    // The same text saves fine to a writable place afterwards.
    click_button(info_panel(), INFO_SAVE);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), wide(path_in_dir("fresh"))));
    ASSERT_TRUE(read_file(path_in_dir("fresh.txt"), &bytes));
    EXPECT_EQ(report_text(DUNMERE, 4).size() + 9, bytes.size());  // a blank more on each line
    std::vector<std::string> names = list_dir(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"blocker", "data", "fresh.txt", "report.txt"}), names);
}

// Names the ANSI code page cannot hold would be saved under '?' or a look-alike
// letter: they are refused and nothing is written. A path close to MAX_PATH, whose
// temporary name would not fit if it were longer, still saves.
TEST_F(BadInput, NamesOutsideTheCodePageAreRefusedAndPathsNearMaxPathStillSave) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    const std::vector<std::wstring> before = list_dir_w(wide(dir));
    for (const wchar_t* name : {L"\u4e2d\u6587", L"\u0101\u0141"}) {
        post_command(main_window(), CMD_SAVE_SNAPSHOT);
        expect_refused(wide(dir) + L"\\" + name,
                       "The file name has characters that cannot be used here. Choose another name.");
        EXPECT_EQ(before, list_dir_w(wide(dir)));
    }

    // 259 characters with ".bmp", the most the ANSI file calls take: the temporary
    // name has the same length. One more is refused before anything is written.
    const std::string folder = dir + "\\" + std::string(100, 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    const std::string path = folder + "\\" + std::string(MAX_PATH - 5 - folder.size() - 1, 'n');
    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), wide(path))) << "a path of " << path.size() + 4;
    std::string bytes;
    ASSERT_TRUE(read_file(path + ".bmp", &bytes));
    EXPECT_EQ("BM", bytes.substr(0, 2));

    post_command(main_window(), CMD_SAVE_SNAPSHOT);
    ASSERT_NO_FATAL_FAILURE(expect_refused(wide(path + "m"), "The chosen path is too long."));
    EXPECT_EQ(std::vector<std::string>{path.substr(folder.size() + 1) + ".bmp"}, list_dir(folder));
}

TEST_F(BadInput, MinimisedWindowKeepsRunningAndDrawsTheMapAgainWhenRestored) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    RECT before;
    GetClientRect(main_window(), &before);

    PostMessageA(main_window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(wait_until(3000, [&] { return IsIconic(main_window()) != FALSE; })) << "the window did not minimise";
    settle(&app, 500);  // five ticks with a client area of 0 x 0
    ASSERT_TRUE(app_alive(&app));
    EXPECT_TRUE(ping(main_window())) << "not answering while minimised";
    post_wheel(main_window(), 120);  // zooming while minimised divides by nothing
    view_model_zoom(&view, 120);
    settle(&app, 300);
    ASSERT_TRUE(app_alive(&app));
    post_command(main_window(), CMD_PRINT);  // a 0 x 0 view cannot be printed
    std::string text;
    HWND box = wait_for_message_box(pid(), "Error", &text, WAIT_WINDOW_MS);
    ASSERT_TRUE(box) << "no error box for printing a 0 x 0 view";
    EXPECT_EQ("The view is too small to print!", text);
    EXPECT_EQ(main_window(), GetWindow(box, GW_OWNER));
    ASSERT_TRUE(dismiss_box(box));

    PostMessageA(main_window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(wait_until(3000, [&] { return !IsIconic(main_window()); })) << "the window did not come back";
    RECT after;
    GetClientRect(main_window(), &after);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
    EXPECT_EQ("", wait_for_map()) << "the map after restoring";
    EXPECT_EQ("", wait_for_marker(BRENNIC_FALLS, true, 11));
    EXPECT_TRUE(IsWindowVisible(query_panel()));
}

TEST_F(BadInput, WrongSizeMarkerStripShowsTheErrorBoxAndTheMapStillLoads) {
    ASSERT_TRUE(write_test_terms(dir));
    ASSERT_TRUE(write_tiles(dir));
    // 48 x 32: not a power of two, so OpenGL 1.1 cannot take it.
    Image strip = {0, 0, 0, NULL};
    ASSERT_TRUE(create_image(48, 32, 3, &strip));
    ASSERT_EQ(1, write_bmp(path_in_dir("data\\lolli.bmp").c_str(), &strip));
    destroy_image(&strip);
    ASSERT_TRUE(launch_app(dir, &app));
    HWND box = NULL;
    ASSERT_NO_FATAL_FAILURE(expect_data_box("Error: can't read lolli texture!", "Error: can't read terms file!", &box));
    ASSERT_TRUE(dismiss_box(box));
    ASSERT_NO_FATAL_FAILURE(wait_for_start());
    EXPECT_EQ("", wait_for_map());
    // Without a strip the markers are plain white triangles.
    int x, body_y, keyed_y;
    marker_points(view, BRENNIC_FALLS, &x, &body_y, &keyed_y);
    ASSERT_TRUE(client_point_uncovered(main_window(), x, body_y));
    ClientShot shot;
    ASSERT_TRUE(capture_client(main_window(), &shot));
    EXPECT_TRUE(colour_near(Rgb{255, 255, 255}, shot.at(x, body_y), COLOUR_TOLERANCE)) << shot.at(x, body_y);
    EXPECT_EQ(4, SendMessageW(GetDlgItem(query_panel(), QUERY_CITY_LIST), LB_GETCOUNT, 0, 0));
}

TEST_F(BadInput, CorruptAndTruncatedTilesStayGreyWhileTheOthersLoad) {
    ASSERT_TRUE(write_full_data(dir));
    // Tile (1, 2) lies under the middle of the first view.
    ASSERT_TRUE(write_file(path_in_dir("data\\tiles\\l4\\001\\4001002.bmp"), "BM this is not a bitmap"));
    // Tile (2, 3) has a header that promises far more rows than the file holds.
    std::string truncated;
    ASSERT_TRUE(read_file(path_in_dir("data\\tiles\\l4\\002\\4002003.bmp"), &truncated));
    ASSERT_TRUE(write_file(path_in_dir("data\\tiles\\l4\\002\\4002003.bmp"), truncated.substr(0, 54 + 192 * 10)));
    ASSERT_NO_FATAL_FAILURE(start_app());
    const std::vector<Rgb> bad_tiles = {tile_colour(1, 2), tile_colour(2, 3)};
    EXPECT_EQ("", wait_for_map(WAIT_MAP_MS, bad_tiles));
    settle(&app, 1000);  // ten more ticks: the bad tiles are not retried into garbage
    EXPECT_EQ("", wait_for_map(0, bad_tiles));
    EXPECT_TRUE(other_top_windows(pid(), main_window()).empty()) << "a message for a bad tile";
    EXPECT_TRUE(app_alive(&app));
}
