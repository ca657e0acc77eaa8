#include "win32/query_panel.h"

#include <string.h>

#include "win32/close_box.h"
#include "win32/panel_placement.h"
#include "core/city_table.h"
#include "core/query.h"
#include "core/report_city.h"
#include "win32/resource.h"
#include "core/view_state.h"

HWND QueryPanel = NULL;

namespace {

enum { MAX_CRITERION_ITEMS = 7 };

// The items of each criterion's combo box, in QueryState field order. An item's
// index is the selection value it stands for, so the boxes must not sort.
const char* const criterion_items[QUERY_CRITERIA][MAX_CRITERION_ITEMS + 1] = {
    {"ALL", "500k - 699k", "700k - 999k", "1.0m - 1.4m", "1.5m - 3.0m", "> 3.0m", nullptr},
    {"ALL", "Commission (W)", "Council-Manager (S)", "Council-Manager (W)", "Mayor-Council (S)",
     "Mayor-Council (W)", nullptr},
    {"ALL", "At-Large", "District", "Mixed", nullptr},
    {"ALL", "No", "Yes", nullptr},
    {"ALL", "1950's", "1960's", "1970's", "1980's", "1990's", "2000's", nullptr},
    {"ALL", "1980's", "1990's", "2000's", nullptr},
    {"ALL", "5 - 9", "10 - 14", "15 - 30", ">30", nullptr},
    {"ALL", "No", "Yes", nullptr},
};


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
    if (HIWORD(hit) != 0) return;  // below the last row
    WPARAM row = LOWORD(hit);
    if ((WPARAM)SendMessageA(list, LB_GETCURSEL, 0, 0) == row) return;
    SendMessageA(list, LB_SETCURSEL, row, 0);
    choose_city(dialog);
}

}  // namespace

void query_panel_init(HWND dialog) {
    saved_query = query_state;
    for (int i = 0; i < QUERY_CRITERIA; ++i)
        for (int item = 0; criterion_items[i][item] != nullptr; ++item)
            SendDlgItemMessageA(dialog, IDC_QUERY_FIRST_CRITERION + i, CB_ADDSTRING, 0,
                                (LPARAM)criterion_items[i][item]);
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
    if (id >= IDC_QUERY_FIRST_CRITERION && id <= IDC_QUERY_LAST_CRITERION) {
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
        return press_close_box_on_double_click(dialog, message, wparam, lparam);
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
