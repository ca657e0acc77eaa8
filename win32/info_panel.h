// The Info panel: city reports as a scrolling text, cleared or saved by the user.
#pragma once

#include "core/shell_calls.h"

// The shell's info_append: appends one line (without line end) and shows the panel.
void info_panel_append(const char* text);
void info_clear();
void info_save();

#ifdef _WIN32
#include <windows.h>
INT_PTR CALLBACK info_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
#endif
