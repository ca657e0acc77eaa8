// The Query panel: eight criteria and the list of cities.
#pragma once
#include <windows.h>

extern HWND QueryPanel;

INT_PTR CALLBACK query_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
void query_panel_init(HWND dialog);
void query_panel_sync(HWND dialog);
BOOL query_panel_command(HWND dialog, WPARAM wparam);

// "Reset Query": clears the selection, restores the start-up query, brings the
// panel in line and runs the query. No redraw.
void reset_query();
