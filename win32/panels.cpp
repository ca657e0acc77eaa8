// The three modeless panels over the map: the Query panel, the Info panel and the About box, and where they sit.
#include "win32/panels.h"
#include <string.h>
#include <stdio.h>
#include "core/city_table.h"
#include "core/query.h"
#include "core/report.h"
#include "win32/resource.h"
#include "win32/print.h"
#include "core/view.h"
#include "win32/window.h"
#include "win32/save.h"
#include "core/save.h"

// Where a captioned child panel goes in the main window's client area.
// The dialog manager puts a dialog's client area at its template position, so a
// captioned child panel's caption and close box would sit above it, clipped by the
// main window's client edge. The panel's outer corner goes there instead, converted
// with the panel's own dialog base units. Called from WM_INITDIALOG, before a
// visible panel is shown: under Wine 8, moving a shown child of a window that GL
// draws on blocks for good.
void place_panel(HWND panel, int x, int y) {
    if (panel == NULL) {
        return;
    }
    RECT position = {x, y, x, y};
    MapDialogRect(panel, &position);
    SetWindowPos(panel, NULL, position.left, position.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL press_close_box_on_double_click(HWND window, WPARAM wparam, LPARAM lparam) {
    if (wparam != HTCLOSE) return FALSE;
    // The default handling of a press tracks the box until the button is let go
    // and closes only when it is let go over the box.
    SendMessageW(window, WM_NCLBUTTONDOWN, wparam, lparam);
    return TRUE;
}

HWND QueryPanel = NULL;

namespace {

// Centres the view on the chosen row and reports it. The map shows it with the
// next frame.
void choose_city(HWND dialog) {
    LRESULT row = SendDlgItemMessageA(dialog, IDC_QUERY_CITY_LIST, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR || row < 0 || row >= city_rows()) return;
    view_state.selected = (int32_t)row;
    view_state.centre_x = (float)city_table.rows[row].map_x;
    view_state.centre_y = (float)city_table.rows[row].map_y;
    run_query();
    report_city();
}

// A second click within the double-click time comes as a double click, and the
// list box (Wine's, at least) then only notifies: when the row under the pointer
// is not the chosen one, it is chosen as a single click would.
void choose_city_double_clicked(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_QUERY_CITY_LIST);
    DWORD position = GetMessagePos();
    POINT point = {(short)LOWORD(position), (short)HIWORD(position)};
    ScreenToClient(list, &point);
    LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    WPARAM row = LOWORD(hit);
    // The high word only says whether the point is outside the client area; in the
    // blank space under a short list the nearest row comes back, so the point must
    // lie in that row's own rectangle.
    RECT row_rect;
    if (SendMessageA(list, LB_GETITEMRECT, row, (LPARAM)&row_rect) == LB_ERR || !PtInRect(&row_rect, point)) return;
    if ((WPARAM)SendMessageA(list, LB_GETCURSEL, 0, 0) == row) return;
    SendMessageA(list, LB_SETCURSEL, row, 0);
    choose_city(dialog);
}

}  // namespace

void query_panel_init(HWND dialog) {
    saved_query = query_state;
    // An item's index is the selection value it stands for, so the boxes must not sort.
    for (int i = 0; i < QUERY_CRITERIA; ++i) {
        SendDlgItemMessageA(dialog, IDC_QUERY_FIRST_CRITERION + i, CB_ADDSTRING, 0, (LPARAM)"ALL");
        for (int choice = 0; choice < QUERY_CHOICES[i].choice_count; ++choice)
            SendDlgItemMessageA(dialog, IDC_QUERY_FIRST_CRITERION + i, CB_ADDSTRING, 0,
                                (LPARAM)QUERY_CHOICES[i].choices[choice].text);
    }
    query_panel_sync(dialog);
    SetFocus(GetDlgItem(dialog, IDC_QUERY_FIRST_CRITERION));
}

void query_panel_sync(HWND dialog) {
    for (int i = 0; i < QUERY_CRITERIA; ++i)
        SendDlgItemMessageA(dialog, IDC_QUERY_FIRST_CRITERION + i, CB_SETCURSEL,
                            (WPARAM)*query_selection(&query_state, i), 0);

    // Without WM_SETREDRAW every added name updates the list's scroll bar and
    // repaints it: under Wine about 5 ms a name, half a second for 100 cities.
    HWND list = GetDlgItem(dialog, IDC_QUERY_CITY_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int count = city_rows();
    for (int row = 0; row < count; ++row) {
        // The name field may be full; the list gets a terminated copy.
        char name[sizeof city_table.rows[row].name + 1];
        memcpy(name, city_table.rows[row].name, sizeof city_table.rows[row].name);
        name[sizeof name - 1] = '\0';
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
    }
    if (view_state.selected >= 0 && view_state.selected < count)
        SendMessageA(list, LB_SETCURSEL, (WPARAM)view_state.selected, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

BOOL query_panel_command(HWND dialog, WPARAM wparam) {
    int id = LOWORD(wparam);
    int notification = HIWORD(wparam);
    if (id >= IDC_QUERY_FIRST_CRITERION && id < IDC_QUERY_FIRST_CRITERION + QUERY_CRITERIA) {
        if (notification == CBN_SELCHANGE) {
            LRESULT choice = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
            if (choice != CB_ERR) {
                *query_selection(&query_state, id - IDC_QUERY_FIRST_CRITERION) = (int8_t)choice;
                run_query();
            }
        }
        return TRUE;
    }
    if (id == IDC_QUERY_CITY_LIST) {
        if (notification == LBN_SELCHANGE) choose_city(dialog);
        if (notification == LBN_DBLCLK) choose_city_double_clicked(dialog);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK query_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NCLBUTTONDBLCLK:
        return press_close_box_on_double_click(dialog, wparam, lparam);
    case WM_INITDIALOG:
        place_panel(dialog, QUERY_PANEL_X, QUERY_PANEL_Y);
        query_panel_init(dialog);
        return TRUE;
    case WM_COMMAND:
        if (wparam == IDCANCEL) {
            ShowWindow(dialog, SW_HIDE);
            return TRUE;
        }
        return query_panel_command(dialog, wparam);
    default:
        return FALSE;
    }
}

// restore_saved_query already runs the query; the panel shows only the selections
// and the names, which the matched flags do not touch.
void reset_query() {
    restore_saved_query();
    query_panel_sync(QueryPanel);
}

HWND InfoPanel = NULL;

namespace {

// The panel's working buffer. Kept out of the stack: it is 64 KB, and only one
// operation uses it at a time on the one thread.
char info_text[INFO_TEXT_MAX];

HWND info_edit() { return GetDlgItem(InfoPanel, IDC_INFO_TEXT); }

size_t read_info_text() {
    info_text[0] = '\0';
    GetDlgItemTextA(InfoPanel, IDC_INFO_TEXT, info_text, INFO_TEXT_MAX);
    info_text[INFO_TEXT_MAX - 1] = '\0';
    return strlen(info_text);
}

// When the control holds more than the buffer could take with extra bytes
// appended, the oldest text goes from the control itself first, so that the
// read below loses nothing from the end. Whole lines where possible.
void trim_control_for(size_t extra) {
    HWND edit = info_edit();
    LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return;
    const size_t room = INFO_TEXT_MAX - 1;
    if ((size_t)length + extra <= room) return;
    LRESULT cut = (LRESULT)((size_t)length + extra - room);
    LRESULT line = SendMessageA(edit, EM_LINEFROMCHAR, (WPARAM)cut, 0);
    LRESULT line_start = SendMessageA(edit, EM_LINEINDEX, (WPARAM)line, 0);
    if (line_start != cut) {
        LRESULT next_line_start = SendMessageA(edit, EM_LINEINDEX, (WPARAM)(line + 1), 0);
        if (next_line_start > cut) cut = next_line_start;
    }
    if (cut > length) cut = length;
    SendMessageA(edit, EM_SETSEL, 0, cut);
    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)"");
}

}  // namespace

void info_panel_append(const char* text) {
    if (!text) text = "";
    // A line longer than the whole buffer keeps only what fits with its CR LF.
    size_t text_length = strlen(text);
    if (text_length > INFO_TEXT_MAX - 3) text_length = INFO_TEXT_MAX - 3;
    const size_t extra = text_length + 2;

    trim_control_for(extra);
    size_t length = read_info_text();
    // Whatever the control did, the buffer arithmetic alone keeps the append in
    // bounds.
    size_t drop = info_bytes_to_drop(info_text, length, extra);
    if (drop > length) drop = length;
    size_t overflow = length + extra > INFO_TEXT_MAX - 1 ? length + extra - (INFO_TEXT_MAX - 1) : 0;
    if (drop < overflow) drop = overflow;
    memmove(info_text, info_text + drop, length - drop + 1);
    length -= drop;
    memcpy(info_text + length, text, text_length);
    memcpy(info_text + length + text_length, "\r\n", 3);
    SetDlgItemTextA(InfoPanel, IDC_INFO_TEXT, info_text);

    HWND edit = info_edit();
    LRESULT line_count = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    while (line_count >= INFO_LINE_LIMIT) {
        // Drop every line above the last INFO_LINE_LIMIT - 1 in one go: the same
        // text as dropping them one at a time, without one rewrite per line.
        LRESULT cut = SendMessageA(edit, EM_LINEINDEX, (WPARAM)(line_count - (INFO_LINE_LIMIT - 1)), 0);
        length = read_info_text();
        if (cut <= 0) break;
        if ((size_t)cut > length) cut = (LRESULT)length;
        memmove(info_text, info_text + cut, length - (size_t)cut + 1);
        SetDlgItemTextA(InfoPanel, IDC_INFO_TEXT, info_text);
        line_count = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    }
    SendMessageA(edit, EM_LINESCROLL, 0, line_count);
    ShowWindow(InfoPanel, SW_SHOW);
}

void info_clear() { SetDlgItemTextA(InfoPanel, IDC_INFO_TEXT, ""); }

void info_save() {
    char path[PATH_CAPACITY];
    if (!ask_save_file_name(path, ".txt")) return;

    // The existing file is replaced only once the new text is wholly written.
    SafeFile file;
    int outcome = begin_safe_file(path, "w", &file);
    if (outcome == SAVE_OK) {
        read_info_text();
        info_text_for_save(info_text);
        int writes_ok = fprintf(file.file, "%s", info_text) >= 0;
        outcome = finish_safe_file(&file, writes_ok);
    }
    show_save_result(outcome);
}

INT_PTR CALLBACK info_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NCLBUTTONDBLCLK:
        return press_close_box_on_double_click(dialog, wparam, lparam);
    case WM_INITDIALOG:
        place_panel(dialog, INFO_PANEL_X, INFO_PANEL_Y);
        SendDlgItemMessageA(dialog, IDC_INFO_TEXT, WM_SETFONT, (WPARAM)report_font, TRUE);
        // Room for a paste as large as the working buffer; the default limit of
        // a multi-line edit box is far smaller on some systems.
        SendDlgItemMessageA(dialog, IDC_INFO_TEXT, EM_SETLIMITTEXT, INFO_TEXT_MAX - 1, 0);
        return TRUE;
    case WM_COMMAND: {
        if (wparam == IDCANCEL) {
            ShowWindow(dialog, SW_HIDE);
            return TRUE;
        }
        int id = LOWORD(wparam);
        if (id != IDC_INFO_CLEAR && id != IDC_INFO_SAVE) return FALSE;
        // No save dialog inside a print job, whose abort procedure delivers the click.
        if (HIWORD(wparam) == BN_CLICKED && !(id == IDC_INFO_SAVE && print_job_running())) {
            if (id == IDC_INFO_CLEAR)
                info_clear();
            else
                info_save();
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

HWND AboutBox = NULL;

namespace {

SIZE logo_size = {0, 0};     // the bitmap's own size, read when the box is made
HBITMAP scaled_logo = NULL;  // ours to delete; the template's own belongs to the box

}  // namespace

void fit_about_logo(HWND dialog) {
    if (dialog == NULL || (display_scale == 1.0f && scaled_logo == NULL)) return;
    if (logo_size.cx == 0) return;
    // Stretched from the resource: the same picture, as large in the box as at 100 %.
    HBITMAP logo = (HBITMAP)LoadImageA(app_instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP,
                                       scaled_pixels(logo_size.cx), scaled_pixels(logo_size.cy), LR_DEFAULTCOLOR);
    if (logo == NULL) return;
    SendDlgItemMessageA(dialog, IDC_ABOUT_LOGO, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)logo);
    if (scaled_logo != NULL) DeleteObject(scaled_logo);
    scaled_logo = logo;
}

INT_PTR CALLBACK about_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        HBITMAP logo = (HBITMAP)SendDlgItemMessageA(dialog, IDC_ABOUT_LOGO, STM_GETIMAGE, IMAGE_BITMAP, 0);
        BITMAP info = {};
        if (logo != NULL && GetObjectA(logo, sizeof info, &info)) logo_size = SIZE{info.bmWidth, info.bmHeight};
        fit_about_logo(dialog);
        return TRUE;
    }
    case WM_COMMAND:
        // OK (also Enter, it is the default button), Esc and the close box.
        if (wparam == IDCANCEL || wparam == IDC_ABOUT_OK) ShowWindow(dialog, SW_HIDE);
        return TRUE;
    default:
        return FALSE;
    }
}
