// The Query panel, the Info panel, the About box and the Panel and Query menus.
#include "e2e_fixture.h"

class Panels : public AppTest {};

TEST_F(Panels, ComboChoicesNarrowTheMarkersAndResetQueryRestoresThem) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    HWND query = query_panel();
    choose_combo_item(query, QUERY_COMBO_FIRST, 5);  // "> 3.0m": Dunmere alone
    EXPECT_EQ("", wait_for_marker(DUNMERE, true, 11));
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, false, 11));
    EXPECT_EQ("", wait_for_marker(CADDOW, false, 11));
    EXPECT_EQ(5, SendMessageW(GetDlgItem(query, QUERY_COMBO_FIRST), CB_GETCURSEL, 0, 0));

    choose_combo_item(query, QUERY_COMBO_FIRST, 0);
    choose_combo_item(query, QUERY_COMBO_FIRST + 3, 1);  // Has Limits "No": Caddow alone
    EXPECT_EQ("", wait_for_marker(CADDOW, true, 11));
    EXPECT_EQ("", wait_for_marker(DUNMERE, false, 11));
    choose_combo_item(query, QUERY_COMBO_FIRST + 6, 4);  // council ">30" as well: nobody
    EXPECT_EQ("", wait_for_marker(CADDOW, false, 11));
    choose_list_item(query, QUERY_CITY_LIST, BRENNIC_FALLS);
    settle(&app, 200);

    post_command(main_window(), 51);  // "Reset Query"
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

TEST_F(Panels, ListChoiceCentresTheViewAndReportsEvenWhenNotMatched) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    ASSERT_EQ("", wait_for_map());
    HWND query = query_panel();
    choose_list_item(query, QUERY_CITY_LIST, CADDOW);
    EXPECT_EQ("", wait_for_info_text(report_text(CADDOW, 4)));
    EXPECT_TRUE(IsWindowVisible(info_panel()));
    view.centre_x = (float)test_cities[CADDOW].map_x;
    view.centre_y = (float)test_cities[CADDOW].map_y;
    EXPECT_EQ("", wait_for_map(WAIT_TICK_MS)) << "view not centred on Caddow";

    // Dunmere alone matches "> 3.0m"; choosing Alderbrook still reports it.
    choose_combo_item(query, QUERY_COMBO_FIRST, 5);
    choose_list_item(query, QUERY_CITY_LIST, ALDERBROOK);
    EXPECT_EQ("", wait_for_info_text(report_text(CADDOW, 4) + report_text(ALDERBROOK, 1)));
    EXPECT_EQ(5, SendMessageW(GetDlgItem(query, QUERY_COMBO_FIRST), CB_GETCURSEL, 0, 0));
    view.centre_x = (float)test_cities[ALDERBROOK].map_x;
    view.centre_y = (float)test_cities[ALDERBROOK].map_y;
    // Its marker is not drawn, since it does not match.
    PostMessageA(info_panel(), WM_COMMAND, IDCANCEL, 0);  // nothing over the centre of the map
    PostMessageA(query, WM_COMMAND, IDCANCEL, 0);
    settle(&app, 300);
    EXPECT_EQ("", wait_for_marker(ALDERBROOK, false, 11));
}

TEST_F(Panels, ShowCommandsShowAndEscHidesKeepingTheState) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    HWND query = query_panel();
    HWND info = info_panel();
    post_command(main_window(), 31);
    post_command(main_window(), 31);
    settle(&app, 100);
    EXPECT_TRUE(IsWindowVisible(query)) << "Show Query Panel toggled";
    choose_combo_item(query, QUERY_COMBO_FIRST + 2, 2);  // "District"
    PostMessageA(query, WM_COMMAND, IDCANCEL, 0);
    settle(&app, 100);
    EXPECT_FALSE(IsWindowVisible(query));
    post_command(main_window(), 31);
    settle(&app, 100);
    EXPECT_TRUE(IsWindowVisible(query));
    EXPECT_EQ(2, SendMessageW(GetDlgItem(query, QUERY_COMBO_FIRST + 2), CB_GETCURSEL, 0, 0));

    post_command(main_window(), 33);
    post_command(main_window(), 33);
    settle(&app, 100);
    EXPECT_TRUE(IsWindowVisible(info)) << "Show Info Panel with no text";
    EXPECT_EQ("", info_text());
    PostMessageA(info, WM_COMMAND, IDCANCEL, 0);
    settle(&app, 100);
    EXPECT_FALSE(IsWindowVisible(info));
}

TEST_F(Panels, AboutShowsItsBoxAndEnterOrEscHidesIt) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), 41);
    HWND about = wait_for_top_window(pid(), "#32770", "About Ostrevan 1.0d", WAIT_WINDOW_MS);
    ASSERT_TRUE(about) << "no About box";
    EXPECT_EQ("Right Buton Drag", window_text(GetDlgItem(about, 1050)));
    EXPECT_EQ("Double Click", window_text(GetDlgItem(about, 1058)));
    post_command(main_window(), 41);
    settle(&app, 100);
    EXPECT_TRUE(IsWindowVisible(about)) << "About.. toggled the box";

    PostMessageA(about, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(about, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(wait_for_window_gone(about, 2000)) << "Enter did not hide the About box";
    EXPECT_TRUE(IsWindow(about)) << "the box is hidden, not destroyed";

    post_command(main_window(), 41);
    ASSERT_TRUE(wait_for_top_window(pid(), "#32770", "About Ostrevan 1.0d", 2000));
    click_button(about, ABOUT_OK);
    EXPECT_TRUE(wait_for_window_gone(about, 2000)) << "OK did not hide the About box";

    post_command(main_window(), 41);
    ASSERT_TRUE(wait_for_top_window(pid(), "#32770", "About Ostrevan 1.0d", 2000));
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(wait_for_window_gone(about, 2000)) << "Esc did not hide the About box";
}

static std::string numbered_lines(int first, int last) {
    std::string text;
    char line[32];
    for (int i = first; i <= last; ++i) {
        snprintf(line, sizeof line, "line %03d\r\n", i);
        text += line;
    }
    return text;
}

TEST_F(Panels, InfoKeeps197LinesDroppingTheOldest) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), 33);
    settle(&app, 100);
    HWND edit = GetDlgItem(info_panel(), INFO_EDIT);
    std::string lines = numbered_lines(0, 196);  // 197 lines of text
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)lines.c_str());
    ASSERT_EQ(lines, info_text());
    choose_list_item(query_panel(), QUERY_CITY_LIST, BRENNIC_FALLS);
    // Nine more lines push out the nine oldest.
    EXPECT_EQ("", wait_for_info_text(numbered_lines(9, 196) + report_text(BRENNIC_FALLS, 4)));
    // Scrolled to the end: the last lines are in view.
    EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 170);
}

TEST_F(Panels, InfoClearEmptiesTheBoxAndTheNextReportStartsAtTheTop) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    choose_list_item(query_panel(), QUERY_CITY_LIST, DUNMERE);
    ASSERT_EQ("", wait_for_info_text(report_text(DUNMERE, 4)));
    click_button(info_panel(), INFO_CLEAR);
    EXPECT_EQ("", wait_for_info_text(""));
    EXPECT_TRUE(IsWindowVisible(info_panel()));
    choose_list_item(query_panel(), QUERY_CITY_LIST, ALDERBROOK);
    EXPECT_EQ("", wait_for_info_text(report_text(ALDERBROOK, 4)));
}

// The saved form of Info text: every CR becomes a blank, every LF a CR LF.
static std::string saved_form(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        if (c == '\r') bytes += ' ';
        else if (c == '\n') bytes += "\r\n";
        else bytes += c;
    }
    return bytes;
}

TEST_F(Panels, InfoSaveAddsTxtAndEndsEveryLineWithABlank) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    choose_list_item(query_panel(), QUERY_CITY_LIST, BRENNIC_FALLS);
    ASSERT_EQ("", wait_for_info_text(report_text(BRENNIC_FALLS, 4)));

    click_button(info_panel(), INFO_SAVE);
    HWND dialog = wait_for_save_dialog(pid(), WAIT_WINDOW_MS);
    ASSERT_TRUE(dialog) << "no save dialog";
    save_dialog_choose(dialog, path_in_dir("report"));
    std::string text;
    HWND done = wait_for_message_box(pid(), "Info", &text, WAIT_WINDOW_MS);
    ASSERT_TRUE(done) << "no \"Save complete\" box";
    EXPECT_EQ("Save complete", text);
    ASSERT_TRUE(dismiss_box(done));
    std::string bytes;
    ASSERT_TRUE(read_file(path_in_dir("report.txt"), &bytes)) << "report.txt not written";
    EXPECT_EQ(saved_form(report_text(BRENNIC_FALLS, 4)), bytes);
    EXPECT_NE(std::string::npos, bytes.find("Elected: District              Has Limits: Yes \r\n"));
    EXPECT_FALSE(file_exists(path_in_dir("report")));

    // Saving again under the same name asks first; Yes replaces the file.
    choose_list_item(query_panel(), QUERY_CITY_LIST, CADDOW);
    std::string expected = report_text(BRENNIC_FALLS, 4) + report_text(CADDOW, 4);
    ASSERT_EQ("", wait_for_info_text(expected));
    click_button(info_panel(), INFO_SAVE);
    dialog = wait_for_save_dialog(pid(), WAIT_WINDOW_MS);
    ASSERT_TRUE(dialog);
    save_dialog_choose(dialog, path_in_dir("report.txt"));
    HWND question = wait_for_owned_dialog(pid(), dialog, WAIT_WINDOW_MS);
    ASSERT_TRUE(question) << "no overwrite question";
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    done = wait_for_message_box(pid(), "Info", &text, WAIT_WINDOW_MS);
    ASSERT_TRUE(done);
    EXPECT_EQ("Save complete", text);
    ASSERT_TRUE(dismiss_box(done));
    ASSERT_TRUE(read_file(path_in_dir("report.txt"), &bytes));
    EXPECT_EQ(saved_form(expected), bytes);

    // An empty box saves an empty file.
    click_button(info_panel(), INFO_CLEAR);
    ASSERT_EQ("", wait_for_info_text(""));
    click_button(info_panel(), INFO_SAVE);
    dialog = wait_for_save_dialog(pid(), WAIT_WINDOW_MS);
    ASSERT_TRUE(dialog);
    save_dialog_choose(dialog, path_in_dir("empty"));
    done = wait_for_message_box(pid(), "Info", &text, WAIT_WINDOW_MS);
    ASSERT_TRUE(done);
    EXPECT_EQ("Save complete", text);
    ASSERT_TRUE(dismiss_box(done));
    ASSERT_TRUE(read_file(path_in_dir("empty.txt"), &bytes));
    EXPECT_EQ("", bytes);
}

TEST_F(Panels, HugeTypedTextThenReportAndSaveDoNotCrash) {
    ASSERT_NO_FATAL_FAILURE(start_with_data());
    post_command(main_window(), 33);
    settle(&app, 100);
    HWND edit = GetDlgItem(info_panel(), INFO_EDIT);
    std::string huge;
    while (huge.size() < 70 * 1024) huge += std::string(68, 'x') + "\r\n";
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)huge.c_str());
    choose_list_item(query_panel(), QUERY_CITY_LIST, CADDOW);
    std::string report = report_text(CADDOW, 4);
    std::string text;
    for (DWORD start = GetTickCount(); GetTickCount() - start < WAIT_TICK_MS; Sleep(50)) {
        if (!app_alive(&app)) break;
        text = info_text();
        if (text.size() >= report.size() && text.compare(text.size() - report.size(), report.size(), report) == 0) break;
    }
    ASSERT_TRUE(app_alive(&app)) << "crashed on a report after a 70 KB text";
    ASSERT_GE(text.size(), report.size());
    EXPECT_EQ(report, text.substr(text.size() - report.size()));
    EXPECT_LT(text.size(), (size_t)65280);

    click_button(info_panel(), INFO_SAVE);
    HWND dialog = wait_for_save_dialog(pid(), WAIT_WINDOW_MS);
    ASSERT_TRUE(dialog);
    save_dialog_choose(dialog, path_in_dir("huge"));
    std::string message;
    HWND done = wait_for_message_box(pid(), "Info", &message, WAIT_WINDOW_MS);
    ASSERT_TRUE(done);
    ASSERT_TRUE(dismiss_box(done));
    ASSERT_TRUE(app_alive(&app)) << "crashed saving a large text";
    std::string bytes;
    ASSERT_TRUE(read_file(path_in_dir("huge.txt"), &bytes));
    std::string saved_report = saved_form(report);
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
    post_command(main_window(), 33);
    settle(&app, 200);
    struct Expected {
        HWND panel;
        int x, y;  // dialog units
    } panels[] = {{query_panel(), 244, 217}, {info_panel(), 2, 2}};
    for (const Expected& expected : panels) {
        POINT position = panel_units_to_pixels(expected.x, expected.y);
        POINT corner = panel_corner(main_window(), expected.panel);
        EXPECT_EQ(position.x, corner.x) << window_text(expected.panel);
        EXPECT_EQ(position.y, corner.y) << window_text(expected.panel);
    }
    // The Info panel's close box is on screen and a real click on it hides the panel.
    HWND info = info_panel();
    ASSERT_TRUE(IsWindowVisible(info));
    ASSERT_TRUE(real_click_close_box(info)) << "no close box found on the Info panel";
    EXPECT_TRUE(wait_for_window_gone(info, 2000)) << "the close box did not hide the Info panel";
    ASSERT_TRUE(real_click_close_box(query_panel())) << "no close box found on the Query panel";
    EXPECT_TRUE(wait_for_window_gone(query_panel(), 2000)) << "the close box did not hide the Query panel";

    // The About box is a popup centred on the screen: all of it, caption included,
    // lies in the working area.
    post_command(main_window(), 41);
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
