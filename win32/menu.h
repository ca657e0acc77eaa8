// The menu bar and its commands.
#pragma once

#include "win32/resource.h"  // the commands' ids
#include "core/view.h"       // the display modes, the Display popup's items

// The popups of the menu bar, left to right.
enum MenuPopup { MENU_FILE, MENU_DISPLAY, MENU_QUERY, MENU_PANEL, MENU_HELP, MENU_POPUP_COUNT };
extern const char* const MENU_POPUP_TITLES[MENU_POPUP_COUNT];

// Every command of the menu bar but the display modes, once: its popup, its item,
// its id and what it does (run in win32/menu.cpp).
#define MENU_COMMAND_LIST(X)                                                        \
    X(MENU_FILE, "Save Snapshot..", CMD_SAVE_SNAPSHOT, save_snapshot())             \
    X(MENU_FILE, "Print..", CMD_PRINT, print_view())                                \
    X(MENU_FILE, "Quit", CMD_QUIT, quit_from_menu())                                \
    X(MENU_QUERY, "Reset Query", CMD_RESET_QUERY, reset_query())                    \
    X(MENU_PANEL, "Show Query Panel", CMD_SHOW_QUERY_PANEL, show_panel(QueryPanel)) \
    X(MENU_PANEL, "Show Info Panel", CMD_SHOW_INFO_PANEL, show_panel(InfoPanel))    \
    X(MENU_HELP, "About..", CMD_ABOUT, show_panel(AboutBox))

#define MENU_COMMAND_ONE(popup, text, id, action) +1
enum { MENU_ITEM_COUNT = DISPLAY_MODE_COUNT MENU_COMMAND_LIST(MENU_COMMAND_ONE) };
#undef MENU_COMMAND_ONE

struct MenuItem {
    MenuPopup popup;
    const char* text;
    int id;
};

// Every item of the menu bar, the display modes in the Display popup; each popup
// shows its items in this order.
extern const MenuItem MENU_ITEMS[MENU_ITEM_COUNT];

void build_menu_bar();
void on_menu_command(int id);
void mark_display_mode();
