// The menu bar and its commands.
#pragma once

enum MenuCommand {
    CMD_SAVE_SNAPSHOT = 1,
    CMD_PRINT = 2,
    CMD_QUIT = 10,
    CMD_RESET_QUERY = 51,
    CMD_SHOW_QUERY_PANEL = 31,
    CMD_SHOW_INFO_PANEL = 33,
    CMD_ABOUT = 41,
};

void build_menu_bar();
void on_menu_command(int id);
void mark_display_mode();
