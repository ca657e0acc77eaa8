// The three panels and the save dialog, driven in-process on a real Win32 (or
// Wine) window system. A plain program: prints each failed check, exits 1 on any.
// The save dialog is answered from a second thread.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/shell_calls.h"
#include "cities/city_table.h"
#include "cities/query.h"
#include "image/file_dialogs.h"
#include "panels/about_box.h"
#include "panels/info_panel.h"
#include "panels/info_text.h"
#include "panels/query_panel.h"
#include "panels/resource.h"
#include "tests/support/city_record.h"
#include "tests/win32/support/wait_until.h"
#include "view/view_state.h"

// The shell's handles and message box are the real program's.
void place_panel(HWND, int, int) {}  // placement is checked end to end

namespace {

std::string info_text() {
    HWND edit = GetDlgItem(InfoPanel, IDC_INFO_TEXT);
    int length = (int)SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::string text(length + 1, '\0');
    SendMessageA(edit, WM_GETTEXT, length + 1, (LPARAM)&text[0]);
    text.resize(strlen(text.c_str()));
    return text;
}

int info_line_count() {
    return (int)SendDlgItemMessageA(InfoPanel, IDC_INFO_TEXT, EM_GETLINECOUNT, 0, 0);
}

void put_city(int row, const char* name, const char* state, int32_t population, int16_t x, int16_t y) {
    CityRecord& city = city_table.rows[row];
    city = test_city(name, state, population, "CM-SMC", 'D', 'Y', 1992, 2003, 9, 'N');
    city.map_x = x;
    city.map_y = y;
}

// ---- the answering thread ----------------------------------------------------

struct Answer {
    const char* file_name;  // typed into the save dialog; null: cancel it
    bool saw_dialog;
};

HWND wait_for_window(const char* caption) {
    HWND window = NULL;
    wait_until(10000, [&] { return (window = FindWindowA("#32770", caption)) != NULL && IsWindowVisible(window); }, 10);
    return window && IsWindowVisible(window) ? window : NULL;
}

DWORD WINAPI answer_dialogs(void* parameter) {
    Answer* answer = (Answer*)parameter;
    HWND dialog = wait_for_window("Save As");
    if (!dialog) return 0;
    answer->saw_dialog = true;
    Sleep(100);
    if (answer->file_name) {
        SendMessageA(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, (LPARAM)answer->file_name);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    } else {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

HANDLE start_answering(Answer* answer) { return CreateThread(NULL, 0, answer_dialogs, answer, 0, NULL); }

void finish_answering(HANDLE thread) {
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
}

std::string current_directory() {
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}

// The dialog's wide buffers in the ANSI code page, to compare with the paths here.
std::string ansi(const WCHAR* text) {
    char bytes[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
    return bytes;
}

// ---- the cases ----------------------------------------------------------------

// The lists' items and the panels' visibility at start are checked end to end.
HWND focus_after_query_panel;
std::string scratch_folder;

TEST(Panels, QueryPanelFocusesItsFirstCriterion) {
    EXPECT_TRUE(focus_after_query_panel == GetDlgItem(QueryPanel, IDC_QUERY_POPULATION));
}

// Choosing criteria and cities, Esc and Reset Query are driven with real input end
// to end; here only what the dialog manager sees of the other notifications.
TEST(Panels, QueryPanelCommandResults) {
    EXPECT_TRUE(query_panel_command(QueryPanel, MAKEWPARAM(IDC_QUERY_ADOPTED, CBN_DROPDOWN)) == TRUE);
    EXPECT_TRUE(query_panel_command(QueryPanel, MAKEWPARAM(IDC_QUERY_CITY_LIST, LBN_DBLCLK)) == TRUE);
    EXPECT_TRUE(query_panel_command(QueryPanel, MAKEWPARAM(1033, 0)) == FALSE);
    EXPECT_TRUE(query_panel_command(QueryPanel, MAKEWPARAM(IDOK, 0)) == FALSE);
    EXPECT_TRUE(query_state.population == 0 && city_table.matched_count == 3 && view_state.selected == -1);
}

TEST(Panels, InfoPanelFontLinesAndCommandResults) {
    // The report's columns line up only in the fixed-pitch report font.
    HWND edit = GetDlgItem(InfoPanel, IDC_INFO_TEXT);
    HFONT font = (HFONT)SendMessageA(edit, WM_GETFONT, 0, 0);
    EXPECT_TRUE(font != NULL && font == report_font);
    HDC dc = GetDC(edit);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    EXPECT_TRUE(GetTextMetricsA(dc, &metrics));
    EXPECT_TRUE((metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0);  // the bit set means variable pitch
    SelectObject(dc, previous);
    ReleaseDC(edit, dc);

    info_clear();
    EXPECT_EQ("", info_text());
    info_append("first");
    EXPECT_EQ("first\r\n", info_text());
    EXPECT_TRUE(info_line_count() == 2);

    // The 197-line limit, with text already in the box, is checked end to end.
    EXPECT_TRUE(SendDlgItemMessageA(InfoPanel, IDC_INFO_TEXT, EM_GETLIMITTEXT, 0, 0) == INFO_TEXT_MAX - 1);
    // A dialog's SendMessage result is not its procedure's: ask the procedure.
    EXPECT_TRUE(info_panel_proc(InfoPanel, WM_COMMAND, MAKEWPARAM(IDC_INFO_CLEAR, BN_SETFOCUS), 0) == TRUE);
    EXPECT_TRUE(info_panel_proc(InfoPanel, WM_COMMAND, MAKEWPARAM(IDC_INFO_TEXT, EN_CHANGE), 0) == FALSE);
    EXPECT_TRUE(info_panel_proc(InfoPanel, WM_TIMER, 0, 0) == FALSE);
}

TEST(Panels, InfoPanelFullBufferDropsWholeOldLines) {
    // A box filled to the brim with short lines: the oldest lines go, whole.
    std::string full;
    while (full.size() + 100 <= INFO_TEXT_MAX - 1) full += std::string(98, 'x') + "\r\n";
    full += std::string(INFO_TEXT_MAX - 1 - full.size(), 'z');
    SetDlgItemTextA(InfoPanel, IDC_INFO_TEXT, full.c_str());
    info_append("newest");
    std::string text = info_text();
    EXPECT_TRUE(text.size() <= INFO_TEXT_MAX - 1);
    EXPECT_EQ("newest\r\n", text.substr(text.size() - 8));
    EXPECT_TRUE(info_line_count() <= INFO_LINE_LIMIT - 1);

    // More text in the box than the buffer holds (set past the typing limit),
    // one line: the front is cut, the end and the new line are kept.
    std::string huge = std::string(69990, 'y') + "0123456789";
    SetDlgItemTextA(InfoPanel, IDC_INFO_TEXT, huge.c_str());
    info_append("tail");
    text = info_text();
    EXPECT_TRUE(text.size() == INFO_TEXT_MAX - 1);
    EXPECT_EQ("0123456789tail\r\n", text.substr(text.size() - 16));

    // A line longer than the whole buffer is cut to what fits.
    std::string longest(70000, 'w');
    info_append(longest.c_str());
    text = info_text();
    EXPECT_TRUE(text.size() == INFO_TEXT_MAX - 1);
    EXPECT_EQ("w\r\n", text.substr(text.size() - 3));

    // A paste larger than the buffer: the box takes what its limit allows and
    // the next line still goes in whole.
    info_clear();
    std::string pasted = std::string(69990, 'p') + "\r\nlast";
    bool on_clipboard = false;
    if (OpenClipboard(main_window)) {
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, pasted.size() + 1);
        if (block) {
            memcpy(GlobalLock(block), pasted.c_str(), pasted.size() + 1);
            GlobalUnlock(block);
            on_clipboard = SetClipboardData(CF_TEXT, block) != NULL;
        }
        CloseClipboard();
    }
    if (on_clipboard) {
        SendDlgItemMessageA(InfoPanel, IDC_INFO_TEXT, WM_PASTE, 0, 0);
        EXPECT_TRUE(info_text().size() == INFO_TEXT_MAX - 1);
        info_append("after paste");
        text = info_text();
        EXPECT_TRUE(text.size() <= INFO_TEXT_MAX - 1);
        EXPECT_EQ("after paste\r\n", text.substr(text.size() - 13));
    } else {
        printf("note: no clipboard, paste case skipped\n");
    }
    info_clear();
}

TEST(Panels, AboutBoxLogoCaptionAndDefaultButton) {
    HBITMAP logo = (HBITMAP)SendDlgItemMessageA(AboutBox, IDC_ABOUT_LOGO, STM_GETIMAGE, IMAGE_BITMAP, 0);
    EXPECT_TRUE(logo != NULL);
    BITMAP info = {};
    if (logo) GetObjectA(logo, sizeof info, &info);
    EXPECT_TRUE(info.bmWidth == 322 && info.bmHeight == 115);
    char caption[64] = "";
    GetWindowTextA(AboutBox, caption, sizeof caption);
    EXPECT_STREQ("About Ostrevan 1.0d", caption);
    LRESULT default_id = SendMessageA(AboutBox, DM_GETDEFID, 0, 0);
    EXPECT_TRUE(HIWORD(default_id) == DC_HASDEFID && LOWORD(default_id) == IDC_ABOUT_OK);

    EXPECT_TRUE(about_box_proc(AboutBox, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_CONTACT1_ROLE, 0), 0) == TRUE);
    EXPECT_TRUE(about_box_proc(AboutBox, WM_TIMER, 0, 0) == FALSE);
}

TEST(Panels, SaveDialogAddsTheExtensionAndKeepsTheStartFolder) {
    const std::string& folder = scratch_folder;
    const std::string start = current_directory();
    EXPECT_EQ(start, ansi(file_dialog_state.start_dir));
    EXPECT_TRUE(file_dialog_state.dialog.lStructSize == sizeof(OPENFILENAMEW));
    EXPECT_TRUE(file_dialog_state.dialog.Flags == (OFN_OVERWRITEPROMPT | OFN_SHOWHELP));

    // A bare name gets the extension; the next dialog opens in its folder.
    char path[PATH_CAPACITY];
    strcpy(path, "untouched");
    std::string typed = folder + "\\view";
    Answer answer = {typed.c_str(), false};
    HANDLE thread = start_answering(&answer);
    int result = ask_save_file_name(path, ".bmp");
    finish_answering(thread);
    EXPECT_TRUE(answer.saw_dialog);
    EXPECT_TRUE(result == 1);
    EXPECT_EQ(folder + "\\view.bmp", path);
    EXPECT_EQ(folder + "\\", ansi(file_dialog_state.initial_dir));
    EXPECT_EQ(".bmp", ansi(file_dialog_state.filter));
    EXPECT_EQ(start, current_directory());

    // Case-sensitive comparison: a differently cased extension is kept and added to.
    typed = folder + "\\view.BMP";
    answer = {typed.c_str(), false};
    thread = start_answering(&answer);
    result = ask_save_file_name(path, ".bmp");
    finish_answering(thread);
    EXPECT_TRUE(result == 1);
    EXPECT_EQ(folder + "\\view.BMP.bmp", path);

    // Cancel: 0, buffer and folder untouched, and the start-up directory is back
    // even when it had been moved.
    strcpy(path, "untouched");
    SetCurrentDirectoryA(folder.c_str());
    answer = {nullptr, false};
    thread = start_answering(&answer);
    result = ask_save_file_name(path, ".txt");
    finish_answering(thread);
    EXPECT_TRUE(answer.saw_dialog);
    EXPECT_TRUE(result == 0);
    EXPECT_STREQ("untouched", path);
    EXPECT_EQ(folder + "\\", ansi(file_dialog_state.initial_dir));
    EXPECT_EQ(start, current_directory());
}

LRESULT CALLBACK test_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    install_shell_calls();
    app_instance = GetModuleHandleA(NULL);
    WNDCLASSA window_class = {};
    window_class.style = CS_OWNDC | CS_DBLCLKS;
    window_class.lpfnWndProc = test_window_proc;
    window_class.hInstance = app_instance;
    window_class.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    window_class.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
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
    if (!QueryPanel || !InfoPanel || !AboutBox) {
        printf("cannot create the panels\n");
        return 2;
    }
    query_panel_sync(QueryPanel);

    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%sbaylith_panels_%lu", temp, (unsigned long)GetCurrentProcessId());
    size_t folder_length = strlen(folder);
    if (folder_length > 0 && folder[folder_length - 1] == '\\') folder[folder_length - 1] = '\0';
    CreateDirectoryA(folder, NULL);

    scratch_folder = folder;
    int result = RUN_ALL_TESTS();

    DeleteFileA((std::string(folder) + "\\report.txt").c_str());
    RemoveDirectoryA(folder);
    DestroyWindow(AboutBox);
    DestroyWindow(InfoPanel);
    DestroyWindow(QueryPanel);
    DestroyWindow(main_window);
    DeleteObject(report_font);
    return result;
}
