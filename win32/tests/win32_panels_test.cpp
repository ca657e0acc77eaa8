// The three panels and the save dialog, driven in-process on a real Win32 (or
// Wine) window system. The save dialog is answered from a second thread.
#include <windows.h>

#include <stdio.h>

#include <string>

#include <gtest/gtest.h>

#include "win32/window.h"
#include "win32/panels.h"
#include "core/shell_calls.h"
#include "core/city_table.h"
#include "core/query.h"
#include "win32/save.h"
#include "core/report.h"
#include "win32/resource.h"
#include "tests/support/city_record.h"
#include "tests/e2e/support/e2e_driver.h"
#include "core/view.h"

// The shell's handles and message box are the real program's.

namespace {

std::string info_text() {
    return window_text(GetDlgItem(InfoPanel, IDC_INFO_TEXT));
}

void put_city(int row, const char* name, const char* state, int32_t population, int16_t x, int16_t y) {
    CityRecord& city = city_table.rows[row];
    city = test_city(name, state, population, "CM-SMC", 'D', 'Y', 1992, 2003, 9, 'N');
    city.map_x = x;
    city.map_y = y;
}

std::string current_directory() {
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}

HWND focus_after_query_panel;
std::string scratch_folder;

// The lists' items and the panels' visibility at start, choosing criteria and
// cities, Esc and Reset Query are checked end to end with real input; here the
// first focus, which no click there precedes.
TEST(Panels, QueryPanelOpensWithThePopulationListFocused) {
    EXPECT_TRUE(focus_after_query_panel == GetDlgItem(QueryPanel, IDC_QUERY_POPULATION));
}

// The report font is checked end to end: the report's columns line up; the
// 197-line limit, with text already in the box, too.
TEST(Panels, InfoPanelLimit) {
    HWND edit = GetDlgItem(InfoPanel, IDC_INFO_TEXT);
    EXPECT_EQ(INFO_TEXT_MAX - 1, (int)SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
}

// A box at or past its limit (text set past the typing limit): the oldest text
// goes, whole lines where there are any, then lines down to the last 198, and the
// box shows its end.
TEST(Panels, InfoPanelFullBufferDropsWholeOldLines) {
    const size_t room = INFO_TEXT_MAX - 1;
    std::string short_lines;
    while (short_lines.size() + 100 <= room) short_lines += std::string(98, 'x') + "\r\n";
    short_lines += std::string(room - short_lines.size(), 'z');
    const std::string one_line = std::string(69990, 'y') + "0123456789";
    const struct {
        std::string before, line, after;
    } rows[] = {
        {short_lines, "newest", short_lines.substr(short_lines.rfind('\n') + 1 - 196 * 100) + "newest\r\n"},
        {one_line, "tail", one_line.substr(one_line.size() - (room - 6)) + "tail\r\n"},  // the front is cut
        {one_line, std::string(70000, 'w'), std::string(room - 2, 'w') + "\r\n"},  // cut to what fits
        {std::string(room, 'p'), "after paste", std::string(room - 13, 'p') + "after paste\r\n"},  // as pasted
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SetDlgItemTextA(InfoPanel, IDC_INFO_TEXT, rows[i].before.c_str());
        info_append(rows[i].line.c_str());
        std::string text = info_text();
        EXPECT_EQ(rows[i].after.size(), text.size()) << "row " << i;
        EXPECT_TRUE(text == rows[i].after)
            << "row " << i << ", ends " << text.substr(text.size() > 20 ? text.size() - 20 : 0);
        if (i == 0) {
            EXPECT_GT(SendDlgItemMessageA(InfoPanel, IDC_INFO_TEXT, EM_GETFIRSTVISIBLELINE, 0, 0), 170);
        }
    }
    info_clear();
    EXPECT_EQ("", info_text());
}

// The caption and Enter, Esc and OK are checked end to end.
TEST(Panels, AboutBoxLogoAndDefaultButton) {
    HBITMAP logo = (HBITMAP)SendDlgItemMessageA(AboutBox, IDC_ABOUT_LOGO, STM_GETIMAGE, IMAGE_BITMAP, 0);
    ASSERT_TRUE(logo != NULL);
    BITMAP info = {};
    GetObjectA(logo, sizeof info, &info);
    EXPECT_TRUE(info.bmWidth == 322 && info.bmHeight == 115);
    LRESULT default_id = SendMessageA(AboutBox, DM_GETDEFID, 0, 0);
    EXPECT_TRUE(HIWORD(default_id) == DC_HASDEFID && LOWORD(default_id) == IDC_ABOUT_OK);
}

// Answers this process's save dialog: types name, or cancels when name is null.
struct Answer {
    const char* name;
    bool saw_dialog;
};

DWORD WINAPI answer_save_dialog(void* parameter) {
    Answer* answer = (Answer*)parameter;
    HWND dialog = wait_for_save_dialog(GetCurrentProcessId(), WAIT_WINDOW_MS);
    answer->saw_dialog = dialog != NULL;
    if (dialog && answer->name) save_dialog_choose(dialog, wide(answer->name));
    if (dialog && !answer->name) save_dialog_cancel(dialog);
    return 0;
}

// A bare name gets the extension (which names get it is core's path_with_extension);
// a cancel gives 0 and leaves the buffer alone. The next dialog opens in the folder
// last chosen, and the start-up directory is back after each, even when it had been
// moved.
TEST(Panels, SaveDialogAddsTheExtensionAndKeepsTheStartFolder) {
    const std::string folder = scratch_folder, start = current_directory();
    EXPECT_EQ(start, ansi(file_dialog_state.start_dir));
    const std::string view = folder + "\\view";
    const struct {
        const char* typed;
        const char* extension;
        int result;
        std::string path;
    } rows[] = {
        {view.c_str(), ".bmp", 1, folder + "\\view.bmp"},
        {NULL, ".txt", 0, "untouched"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        char path[PATH_CAPACITY] = "untouched";
        SetCurrentDirectoryA(folder.c_str());
        Answer answer = {row.typed, false};
        HANDLE thread = CreateThread(NULL, 0, answer_save_dialog, &answer, 0, NULL);
        EXPECT_EQ(row.result, ask_save_file_name(path, row.extension));
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
        EXPECT_TRUE(answer.saw_dialog);
        EXPECT_EQ(row.path, path);
        EXPECT_EQ(folder + "\\", ansi(file_dialog_state.initial_dir));
        EXPECT_EQ(row.extension, ansi(file_dialog_state.filter));
        EXPECT_EQ(start, current_directory());
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    install_shell_calls();
    app_instance = GetModuleHandleA(NULL);
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = app_instance;
    window_class.lpszClassName = "panels_test";
    RegisterClassA(&window_class);
    main_window = CreateWindowExA(0, "panels_test", "Panels test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  0, 0, 1024, 768, NULL, NULL, app_instance, NULL);
    ShowWindow(main_window, SW_SHOW);
    report_font = create_report_font();

    put_city(0, "Northport", "NP", 650000, 100, 200);
    put_city(1, "Southbay", "SB", 3500000, 1500, 700);
    put_city(2, "Eastfield", "EF", 1200000, 2000, 1000);
    city_table.count = 3;
    view_state.selected = -1;
    run_query();
    init_file_dialogs(main_window);

    QueryPanel = CreateDialogParamA(app_instance, MAKEINTRESOURCEA(IDD_QUERY_PANEL), main_window,
                                    query_panel_proc, 0);
    focus_after_query_panel = GetFocus();
    InfoPanel = CreateDialogParamA(app_instance, MAKEINTRESOURCEA(IDD_INFO_PANEL), main_window,
                                   info_panel_proc, 0);
    AboutBox = CreateDialogParamA(app_instance, MAKEINTRESOURCEA(IDD_ABOUT_BOX), main_window,
                                  about_box_proc, 0);
    scratch_folder = make_scratch_dir();
    if (!QueryPanel || !InfoPanel || !AboutBox || scratch_folder.empty()) {
        printf("cannot create the panels or the scratch folder\n");
        return 2;
    }
    query_panel_sync(QueryPanel);
    int result = RUN_ALL_TESTS();
    remove_tree(scratch_folder);
    return result;
}
