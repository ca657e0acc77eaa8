// The Info panel: city reports as a scrolling text, cleared or saved by the user.
#pragma once
#include <windows.h>

extern HWND InfoPanel;

INT_PTR CALLBACK info_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The shell's info_append: appends one line (without line end) and shows the panel.
void info_panel_append(const char* text);
void info_clear();
void info_save();
