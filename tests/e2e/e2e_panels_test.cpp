// The Query panel, the Info panel, the About box and the Panel and Query menus.
#include "e2e_fixture.h"

#include "core/query.h"

class Panels : public AppTest {};

TEST_F(Panels, ComboChoicesNarrowTheMarkersAndResetQueryRestoresThem) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    HWND query = query_panel();
    HWND population = GetDlgItem(query, QUERY_COMBO_FIRST);
    ASSERT_TRUE(real_choose_combo_item(population, 5)) << "no drop-down list";  // "> 3.0m": Dunmere alone
    EXPECT_EQ(5, SendMessageW(population, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, false, 11));
    EXPECT_EQ("", wait_for_marker(CADDOW, false, 11));

    ASSERT_TRUE(real_choose_combo_item(population, 0));
    ASSERT_TRUE(real_choose_combo_item(GetDlgItem(query, QUERY_COMBO_FIRST + 3), 1));  // Has Limits "No": Caddow alone
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11));
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, false, 11));
    // With the focus on a closed combo box the arrow keys choose as well: council
    // size ">30" (four steps down) leaves nobody.
    HWND council = GetDlgItem(query, QUERY_COMBO_FIRST + 6);
    real_click_control(council);
    real_click_control(council);
    for (int i = 0; i < 4; ++i) real_key(VK_DOWN);
    EXPECT_EQ(4, SendMessageW(council, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("", wait_for_marker(CADDOW, false, 11));
    real_click_list_item(GetDlgItem(query, QUERY_CITY_LIST), BRENNIC_FALLS);
    settle(&app, 200);

    post_command(main_window(), CMD_RESET_QUERY);
    settle(&app, 100);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(0, SendMessageW(GetDlgItem(query, QUERY_COMBO_FIRST + i), CB_GETCURSEL, 0, 0)) << i;
    HWND list = GetDlgItem(query, QUERY_CITY_LIST);
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(4, SendMessageW(list, LB_GETCOUNT, 0, 0));
    // Back to all cities at full strength (the view is now centred on Brennic Falls).
    view.centre_x = (float)test_cities[BRENNIC_FALLS].map_x;
    view.centre_y = (float)test_cities[BRENNIC_FALLS].map_y;
    for (int city = 0; city < TEST_CITY_COUNT; ++city) {
        float x, y;
        world_to_client(view, (float)test_cities[city].map_x, (float)test_cities[city].map_y, &x, &y);
        if (x < 20 || y < 40 || x > view.width - 20 || y > view.height - 5) continue;  // off screen now
        if (!client_point_uncovered(main_window(), (int)x, (int)y - MARKER_BODY_HEIGHT)) continue;
        EXPECT_EQ("", wait_for_marker(city, true, 11));
    }
}

TEST_F(Panels, ListChoiceByMouseOrArrowKeyCentresTheViewAndReportsEvenWhenNotMatched) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    HWND query = query_panel();
    HWND list = GetDlgItem(query, QUERY_CITY_LIST);
    real_click_list_item(list, CADDOW);
    // Reset Query clears the choice; the same row clicked again within the
    // double-click time comes as a double click, and is still a choice.
    post_command(main_window(), CMD_RESET_QUERY);
    EXPECT_TRUE(wait_until(400, [&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == LB_ERR; }, 5));
    real_click_list_item(list, CADDOW);
    EXPECT_EQ("", wait_for_info_text(report_text(CADDOW, 4) + report_text(CADDOW, 4)));
    EXPECT_TRUE(IsWindowVisible(info_panel()));
    view.centre_x = (float)test_cities[CADDOW].map_x;
    view.centre_y = (float)test_cities[CADDOW].map_y;
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "view not centred on Caddow";

    // Dunmere alone matches "> 3.0m"; Up from Caddow to Brennic Falls still reports it.
    ASSERT_TRUE(real_choose_combo_item(GetDlgItem(query, QUERY_COMBO_FIRST), 5));
    real_key_with(VK_SHIFT, VK_TAB);  // from the first combo box back round to the list
    real_key(VK_UP);
    EXPECT_EQ("", wait_for_info_text(report_text(CADDOW, 4) + report_text(CADDOW, 4) +
                                     report_text(BRENNIC_FALLS, 1)));
    EXPECT_EQ(BRENNIC_FALLS, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(5, SendMessageW(GetDlgItem(query, QUERY_COMBO_FIRST), CB_GETCURSEL, 0, 0));
    view.centre_x = (float)test_cities[BRENNIC_FALLS].map_x;
    view.centre_y = (float)test_cities[BRENNIC_FALLS].map_y;
    // Esc hides each panel, so that nothing stands over the centre of the map; the
    // marker is not drawn, since the city does not match.
    real_key(VK_ESCAPE);
    EXPECT_TRUE(wait_for_window_gone(query, 2000)) << "Esc did not hide the Query panel";
    real_click_control(GetDlgItem(info_panel(), INFO_EDIT));
    real_key(VK_ESCAPE);
    EXPECT_TRUE(wait_for_window_gone(info_panel(), 2000)) << "Esc did not hide the Info panel";
    EXPECT_EQ("", wait_for_marker(BRENNIC_FALLS, false, 11));
}

// Tab through the Query panel in template order, the keyboard in the menu bar, and
// Show commands that show but never toggle.
TEST_F(Panels, TabFollowsTheTemplateOrderAndShowCommandsShowWhatEscHid) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    HWND query = query_panel();
    HWND info = info_panel();
    HWND first = GetDlgItem(query, QUERY_COMBO_FIRST);
    real_click_control(first);
    real_click_control(first);
    ASSERT_EQ(first, focused_window(main_window()));
    std::vector<int> order;  // the criteria's combo boxes in the template, the list, round again
    for (int i = 1; i < QUERY_CRITERIA; ++i) order.push_back(QUERY_COMBO_FIRST + i);
    order.push_back(QUERY_CITY_LIST);
    order.push_back(QUERY_COMBO_FIRST);
    for (int id : order) {
        real_key(VK_TAB);
        EXPECT_EQ(GetDlgItem(query, id), focused_window(main_window())) << "Tab should reach " << id;
    }
    real_key_with(VK_SHIFT, VK_TAB);
    EXPECT_EQ(GetDlgItem(query, QUERY_CITY_LIST), focused_window(main_window())) << "Shift+Tab";
    real_key_with(VK_SHIFT, VK_TAB);
    real_key_with(VK_SHIFT, VK_TAB);  // back over "Staggered" to "Council Size"
    HWND council = GetDlgItem(query, IDC_QUERY_COUNCIL_SIZE);
    EXPECT_EQ(council, focused_window(main_window()));

    post_command(main_window(), CMD_SHOW_QUERY_PANEL);
    post_command(main_window(), CMD_SHOW_QUERY_PANEL);
    settle(&app, 100);
    EXPECT_TRUE(IsWindowVisible(query)) << "Show Query Panel toggled";
    real_key(VK_DOWN);
    real_key(VK_DOWN);  // "10 - 14"
    real_key(VK_ESCAPE);
    EXPECT_TRUE(wait_for_window_gone(query, 2000)) << "Esc did not hide the Query panel";
    EXPECT_TRUE(command_shows(CMD_SHOW_QUERY_PANEL, query));
    EXPECT_EQ(2, SendMessageW(council, CB_GETCURSEL, 0, 0));

    // "Panel" > "Show Info Panel" from the keyboard: Alt, three to the right, down
    // to the second item.
    real_click(main_window(), 60, view.height - 40);
    real_key(VK_MENU);
    for (int i = 0; i < 3; ++i) real_key(VK_RIGHT);
    real_key(VK_DOWN);
    real_key(VK_DOWN);
    real_key(VK_RETURN);
    EXPECT_TRUE(wait_until(2000, [&] { return IsWindowVisible(info) != FALSE; })) << "Show Info Panel with no text";
    EXPECT_EQ("", info_text());
    post_command(main_window(), CMD_SHOW_INFO_PANEL);
    settle(&app, 100);
    EXPECT_TRUE(IsWindowVisible(info)) << "Show Info Panel toggled";
}

TEST_F(Panels, AboutShowsItsBoxAndEnterEscOrOkHidesIt) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), CMD_ABOUT);
    HWND about = wait_for_top_window(pid(), "#32770", "About Ostrevan 1.0d", WAIT_WINDOW_MS);
    ASSERT_TRUE(about) << "no About box";
    EXPECT_EQ("Right Buton Drag", window_text(GetDlgItem(about, IDC_ABOUT_PAN_ACTION)));
    EXPECT_EQ("Double Click", window_text(GetDlgItem(about, IDC_ABOUT_SELECT_ACTION)));
    post_command(main_window(), CMD_ABOUT);
    settle(&app, 100);
    EXPECT_TRUE(IsWindowVisible(about)) << "About.. toggled the box";

    real_focus(about);
    real_key(VK_RETURN);
    EXPECT_TRUE(wait_for_window_gone(about, 2000)) << "Enter did not hide the About box";
    EXPECT_TRUE(IsWindow(about)) << "the box is hidden, not destroyed";

    post_command(main_window(), CMD_ABOUT);
    ASSERT_TRUE(wait_for_top_window(pid(), "#32770", "About Ostrevan 1.0d", 2000));
    real_focus(about);
    real_key(VK_ESCAPE);
    EXPECT_TRUE(wait_for_window_gone(about, 2000)) << "Esc did not hide the About box";

    post_command(main_window(), CMD_ABOUT);
    ASSERT_TRUE(wait_for_top_window(pid(), "#32770", "About Ostrevan 1.0d", 2000));
    real_click_control(GetDlgItem(about, ABOUT_OK));
    EXPECT_TRUE(wait_for_window_gone(about, 2000)) << "OK did not hide the About box";
}

TEST_F(Panels, InfoClearEmptiesTheBoxAndTheNextReportStartsAtTheTop) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    real_click_list_item(GetDlgItem(query_panel(), QUERY_CITY_LIST), DUNMERE);
    ASSERT_EQ("", wait_for_info_text(report_text(DUNMERE, 4)));
    real_click_control(GetDlgItem(info_panel(), INFO_CLEAR));
    EXPECT_EQ("", wait_for_info_text(""));
    EXPECT_TRUE(IsWindowVisible(info_panel()));
    real_click_list_item(GetDlgItem(query_panel(), QUERY_CITY_LIST), ALDERBROOK);
    EXPECT_EQ("", wait_for_info_text(report_text(ALDERBROOK, 4)));
}

TEST_F(Panels, InfoSaveAddsTxtAndEndsEveryLineWithABlank) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    choose_list_item(query_panel(), QUERY_CITY_LIST, BRENNIC_FALLS);
    ASSERT_EQ("", wait_for_info_text(report_text(BRENNIC_FALLS, 4)));

    // A folder and a name with characters of the ANSI code page above 0x7F, typed
    // as Unicode.
    const std::wstring folder = wide(dir) + L"\\Bericht \u2013 M\u00e4rz";
    const std::wstring name = folder + L"\\R\u00fcckblick\u2019s \u20ac";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), NULL));
    click_button(info_panel(), INFO_SAVE);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), name));
    std::string bytes;
    ASSERT_TRUE(read_file_w(name + L".txt", &bytes)) << "not written under its name";
    EXPECT_EQ(info_file_bytes(report_text(BRENNIC_FALLS, 4)), bytes);
    EXPECT_NE(std::string::npos, bytes.find("Elected: District              Has Limits: Yes \r\n"));

    // An empty box saves an empty file.
    click_button(info_panel(), INFO_CLEAR);
    ASSERT_EQ("", wait_for_info_text(""));
    click_button(info_panel(), INFO_SAVE);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), wide(path_in_dir("empty"))));
    ASSERT_TRUE(read_file(path_in_dir("empty.txt"), &bytes));
    EXPECT_EQ("", bytes);
}

TEST_F(Panels, HugeTypedTextThenReportAndSaveDoNotCrash) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), CMD_SHOW_INFO_PANEL);
    settle(&app, 100);
    HWND edit = GetDlgItem(info_panel(), INFO_EDIT);
    std::string huge;
    while (huge.size() < 70 * 1024) huge += std::string(68, 'x') + "\r\n";
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)huge.c_str());
    choose_list_item(query_panel(), QUERY_CITY_LIST, CADDOW);
    std::string report = report_text(CADDOW, 4);
    std::string text;
    wait_until(WAIT_TICK_MS, [&] {
        text = info_text();
        return !app_alive(&app) ||
               (text.size() >= report.size() && text.compare(text.size() - report.size(), report.size(), report) == 0);
    }, 50);
    ASSERT_TRUE(app_alive(&app)) << "crashed on a report after a 70 KB text";
    ASSERT_GE(text.size(), report.size());
    EXPECT_EQ(report, text.substr(text.size() - report.size()));
    EXPECT_LT(text.size(), (size_t)65280);

    click_button(info_panel(), INFO_SAVE);
    ASSERT_EQ("Save complete", save_through_dialog(pid(), wide(path_in_dir("huge"))));
    ASSERT_TRUE(app_alive(&app)) << "crashed saving a large text";
    std::string bytes;
    ASSERT_TRUE(read_file(path_in_dir("huge.txt"), &bytes));
    std::string saved_report = info_file_bytes(report);
    ASSERT_GE(bytes.size(), saved_report.size());
    EXPECT_EQ(saved_report, bytes.substr(bytes.size() - saved_report.size()));
}

static INT_PTR CALLBACK quiet_dialog_proc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Dialog units to pixels with the base units of the panels' font ("MS Sans Serif",
// 8 points): MapDialogRect does not work on another process's dialog under Wine, so
// a hidden dialog of this process with the same font does the conversion.
static POINT panel_units_to_pixels(int x, int y) {
    WORD words[64] = {};
    DLGTEMPLATE* dialog = (DLGTEMPLATE*)words;
    dialog->style = WS_POPUP | DS_SETFONT;
    WORD* after = (WORD*)(dialog + 1);
    after += 3;  // no menu, default class, no title
    *after++ = 8;
    for (const char* face = "MS Sans Serif"; *face; ++face) *after++ = (WORD)*face;
    *after++ = 0;
    HWND probe = CreateDialogIndirectParamW(NULL, dialog, NULL, quiet_dialog_proc, 0);
    RECT position = {x, y, x, y};
    EXPECT_TRUE(probe && MapDialogRect(probe, &position)) << "no probe dialog";
    if (probe) DestroyWindow(probe);
    return POINT{position.left, position.top};
}

// The panel's outer corner, in the main window's client coordinates.
static POINT panel_corner(HWND main_window, HWND panel) {
    RECT frame;
    GetWindowRect(panel, &frame);
    POINT corner = {frame.left, frame.top};
    ScreenToClient(main_window, &corner);
    return corner;
}

TEST_F(Panels, PanelsStandAtTheirTemplatePositionsWithCaptionsInViewAndCloseBoxesWork) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), CMD_SHOW_INFO_PANEL);
    settle(&app, 200);
    struct Expected {
        HWND panel;
        int x, y;  // dialog units
    } panels[] = {{query_panel(), 244, 217}, {info_panel(), 2, 2}};
    RECT client;
    GetClientRect(main_window(), &client);
    for (const Expected& expected : panels) {
        POINT position = panel_units_to_pixels(expected.x, expected.y);
        POINT corner = panel_corner(main_window(), expected.panel);
        EXPECT_EQ(position.x, corner.x) << window_text(expected.panel);
        EXPECT_EQ(position.y, corner.y) << window_text(expected.panel);
        RECT frame;  // all of it on the map, at every display scale
        GetWindowRect(expected.panel, &frame);
        POINT far_corner = {frame.right, frame.bottom};
        ScreenToClient(main_window(), &far_corner);
        EXPECT_TRUE(far_corner.x <= client.right && far_corner.y <= client.bottom)
            << window_text(expected.panel) << " reaches " << far_corner.x << "," << far_corner.y;
    }
    // The Info panel's close box is on screen and a real click on it hides the panel.
    HWND info = info_panel();
    ASSERT_TRUE(IsWindowVisible(info));
    ASSERT_TRUE(real_click_close_box(info)) << "no close box found on the Info panel";
    EXPECT_TRUE(wait_for_window_gone(info, 2000)) << "the close box did not hide the Info panel";
    ASSERT_TRUE(real_click_close_box(query_panel())) << "no close box found on the Query panel";
    EXPECT_TRUE(wait_for_window_gone(query_panel(), 2000)) << "the close box did not hide the Query panel";
    // Shown again from the menu and closed again at once: the second click on the
    // same close box comes within the double-click time.
    post_command(main_window(), CMD_SHOW_QUERY_PANEL);
    ASSERT_TRUE(wait_until(2000, [&] { return IsWindowVisible(query_panel()) != FALSE; }));
    ASSERT_TRUE(real_click_close_box(query_panel()));
    EXPECT_TRUE(wait_for_window_gone(query_panel(), 2000)) << "a second close within the double-click time was lost";

    // The About box is a popup centred on the screen: all of it, caption included,
    // lies in the working area.
    post_command(main_window(), CMD_ABOUT);
    HWND about = wait_for_top_window(pid(), "#32770", "About Ostrevan 1.0d", WAIT_WINDOW_MS);
    ASSERT_TRUE(about);
    RECT frame, work;
    GetWindowRect(about, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                frame.bottom <= work.bottom)
        << "About box at " << frame.left << "," << frame.top << "-" << frame.right << "," << frame.bottom;
    EXPECT_LE(abs((frame.left + frame.right) - (work.left + work.right)), 1);
}
