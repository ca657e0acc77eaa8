// The menu bar, built in code, and its commands.
#include "win32/menu.h"

#include <windows.h>

#include "win32/window.h"
#include "win32/panels.h"
#include "win32/print.h"
#include "win32/snapshot.h"
#include "gl/view.h"
#include "core/view.h"

const char* const MENU_POPUP_TITLES[MENU_POPUP_COUNT] = {"File", "Display", "Query", "Panel", "Help"};

#define COMMAND_ITEM(popup, text, id, action) {popup, text, id},
#define DISPLAY_ITEM(name, value, text, field) {MENU_DISPLAY, text, name},
const MenuItem MENU_ITEMS[MENU_ITEM_COUNT] = {MENU_COMMAND_LIST(COMMAND_ITEM) DISPLAY_MODE_LIST(DISPLAY_ITEM)};
#undef COMMAND_ITEM
#undef DISPLAY_ITEM

namespace {

// Held for the radio mark; it lives as long as the main window's menu bar.
HMENU display_popup = NULL;

bool is_display_mode(int id) {
    for (const DisplayModeItem& item : DISPLAY_MODES) {
        if (item.mode == id) {
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

void quit_from_menu() {
    // The menu bar goes with the main window: nothing to mark afterwards.
    display_popup = NULL;
    quit_application();
}

}  // namespace

void build_menu_bar() {
    HMENU popups[MENU_POPUP_COUNT];
    for (int popup = 0; popup < MENU_POPUP_COUNT; ++popup) {
        popups[popup] = CreateMenu();
        for (const MenuItem& item : MENU_ITEMS) {
            if (item.popup == popup) {
                AppendMenuA(popups[popup], MF_STRING, (UINT_PTR)item.id, item.text);
            }
        }
    }
    display_popup = popups[MENU_DISPLAY];

    HMENU bar = CreateMenu();
    for (int popup = 0; popup < MENU_POPUP_COUNT; ++popup) {
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)popups[popup], MENU_POPUP_TITLES[popup]);
    }
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
    // A command id that is also a display mode's would not compile: case labels are unique.
    switch (id) {
#define RUN_COMMAND(popup, text, command, action) \
    case command:                                 \
        action;                                   \
        break;
        MENU_COMMAND_LIST(RUN_COMMAND)
#undef RUN_COMMAND
#define DISPLAY_CASE(name, value, text, field) case name:
        DISPLAY_MODE_LIST(DISPLAY_CASE)
#undef DISPLAY_CASE
        view_state.display_mode = id;
        redraw_if_ready();
        break;
    default:
        break;
    }
    mark_display_mode();
}

void mark_display_mode() {
    if (display_popup == NULL) {
        return;
    }
    UINT first = (UINT)DISPLAY_MODES[0].mode;
    UINT last = (UINT)DISPLAY_MODES[DISPLAY_MODE_COUNT - 1].mode;
    if (is_display_mode(view_state.display_mode)) {
        CheckMenuRadioItem(display_popup, first, last, (UINT)view_state.display_mode, MF_BYCOMMAND);
    }
}
