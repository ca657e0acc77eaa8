#include "win32/info_panel.h"

#include <stdio.h>
#include <string.h>

#include "win32/report_font.h"
#include "win32/close_box.h"
#include "win32/panel_placement.h"
#include "win32/save_dialog.h"
#include "core/save_result.h"
#include "core/safe_file.h"
#include "core/info_text.h"
#include "win32/resource.h"

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
    int outcome = begin_safe_file(file_platform, path, "w", &file);
    if (outcome == SAVE_OK) {
        read_info_text();
        info_text_for_save(info_text);
        int writes_ok = fprintf(file.file, "%s", info_text) >= 0;
        outcome = finish_safe_file(file_platform, &file, writes_ok);
    }
    show_save_result(outcome);
}

INT_PTR CALLBACK info_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NCLBUTTONDBLCLK:
        return press_close_box_on_double_click(dialog, message, wparam, lparam);
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
        if (HIWORD(wparam) == BN_CLICKED) {
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
