// The Info panel: city reports as a scrolling text, cleared or saved by the user.
#pragma once

// Appends one line (without line end) and shows the panel: info_append goes through
// shell_calls to the shell's info_panel_append.
void info_append(const char* text);
void info_panel_append(const char* text);
void info_clear();
void info_save();

#ifdef _WIN32
#include <windows.h>
INT_PTR CALLBACK info_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
#endif
