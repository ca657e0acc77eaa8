// The menu bar, built in code, and its commands.
#include "win32/menu.h"

#include <windows.h>

#include "win32/window.h"
#include "win32/panels.h"
#include "win32/print.h"
#include "win32/snapshot.h"
#include "gl/view.h"
#include "core/view.h"

namespace {

// Held for the radio mark; it lives as long as the main window's menu bar.
HMENU display_popup = NULL;

struct MenuItem {
    const char* text;
    UINT id;
};

const MenuItem FILE_ITEMS[] = {
    {"Save Snapshot..", CMD_SAVE_SNAPSHOT},
    {"Print..", CMD_PRINT},
    {"Quit", CMD_QUIT},
};

const MenuItem DISPLAY_ITEMS[] = {
    {"Mayor Total Terms", MAYOR_TOTAL_TERMS},
    {"Mayor Consecutive Terms", MAYOR_CONSECUTIVE_TERMS},
    {"Mayor Term Length", MAYOR_TERM_LENGTH},
    {"Council Total Terms", COUNCIL_TOTAL_TERMS},
    {"Council Consecutive Terms", COUNCIL_CONSECUTIVE_TERMS},
    {"Council Terms Length", COUNCIL_TERMS_LENGTH},
    {"Maximum Years", MAXIMUM_YEARS},
};

const MenuItem QUERY_ITEMS[] = {
    {"Reset Query", CMD_RESET_QUERY},
};

const MenuItem PANEL_ITEMS[] = {
    {"Show Query Panel", CMD_SHOW_QUERY_PANEL},
    {"Show Info Panel", CMD_SHOW_INFO_PANEL},
};

const MenuItem HELP_ITEMS[] = {
    {"About..", CMD_ABOUT},
};

const int DISPLAY_ITEM_COUNT = sizeof(DISPLAY_ITEMS) / sizeof(DISPLAY_ITEMS[0]);

HMENU create_popup(const MenuItem* items, int count) {
    HMENU popup = CreateMenu();
    for (int i = 0; i < count; ++i) {
        AppendMenuA(popup, MF_STRING, items[i].id, items[i].text);
    }
    return popup;
}

bool is_display_mode(int id) {
    for (int i = 0; i < DISPLAY_ITEM_COUNT; ++i) {
        if ((int)DISPLAY_ITEMS[i].id == id) {
            return true;
        }
    }
    return false;
}

void show_panel(HWND panel) {
    if (panel != NULL) {
        ShowWindow(panel, SW_SHOW);
    }
}

void redraw_if_ready() {
    if (main_glrc != NULL && wglGetCurrentContext() == main_glrc) {
        redraw();
    }
}

}  // namespace

void build_menu_bar() {
    HMENU file_popup = create_popup(FILE_ITEMS, sizeof(FILE_ITEMS) / sizeof(FILE_ITEMS[0]));
    display_popup = create_popup(DISPLAY_ITEMS, DISPLAY_ITEM_COUNT);
    HMENU query_popup = create_popup(QUERY_ITEMS, sizeof(QUERY_ITEMS) / sizeof(QUERY_ITEMS[0]));
    HMENU panel_popup = create_popup(PANEL_ITEMS, sizeof(PANEL_ITEMS) / sizeof(PANEL_ITEMS[0]));
    HMENU help_popup = create_popup(HELP_ITEMS, sizeof(HELP_ITEMS) / sizeof(HELP_ITEMS[0]));

    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file_popup, "File");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)display_popup, "Display");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)query_popup, "Query");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)panel_popup, "Panel");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)help_popup, "Help");
    SetMenu(main_window, bar);
    DrawMenuBar(main_window);
    mark_display_mode();
}

void on_menu_command(int id) {
    // Commands that come during a print job (its abort procedure dispatches them)
    // are dropped; a Quit waits for the job's end.
    if (print_job_running()) {
        if (id == CMD_QUIT) after_print_job(WM_COMMAND, CMD_QUIT);
        return;
    }
    if (id == CMD_QUIT) {
        // The menu bar goes with the main window: nothing to mark afterwards.
        display_popup = NULL;
        quit_application();
        return;
    }
    if (is_display_mode(id)) {
        view_state.display_mode = id;
        redraw_if_ready();
    } else {
        switch (id) {
        case CMD_SAVE_SNAPSHOT:
            save_snapshot();
            break;
        case CMD_PRINT:
            print_view();
            break;
        case CMD_SHOW_QUERY_PANEL:
            show_panel(QueryPanel);
            break;
        case CMD_SHOW_INFO_PANEL:
            show_panel(InfoPanel);
            break;
        case CMD_ABOUT:
            show_panel(AboutBox);
            break;
        case CMD_RESET_QUERY:
            // Shown by the next tick.
            reset_query();
            break;
        default:
            break;
        }
    }
    mark_display_mode();
}

void mark_display_mode() {
    if (display_popup == NULL) {
        return;
    }
    UINT first = DISPLAY_ITEMS[0].id;
    UINT last = DISPLAY_ITEMS[DISPLAY_ITEM_COUNT - 1].id;
    if (is_display_mode(view_state.display_mode)) {
        CheckMenuRadioItem(display_popup, first, last, (UINT)view_state.display_mode, MF_BYCOMMAND);
    }
}
