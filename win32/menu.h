// The menu bar and its commands.
#pragma once

#include "win32/resource.h"  // the commands' ids

void build_menu_bar();
void on_menu_command(int id);
void mark_display_mode();
