// The three modeless panels over the map: the Query panel, the Info panel and the About box, and where they sit.
#pragma once
#include <windows.h>

// Where the captioned child panels sit on the main window.
// Puts a captioned child panel's outer corner at (x, y) dialog units of the main
// window's client area.
void place_panel(HWND panel, int x, int y);

// The panels' close boxes.
// A second click on a close box within the double-click time arrives as
// WM_NCLBUTTONDBLCLK, which the default handling (Wine's, at least) ignores, so
// the click would be lost: it is pressed as a first click is. TRUE when it
// was on the close box.
BOOL press_close_box_on_double_click(HWND window, WPARAM wparam, LPARAM lparam);

// The Query panel: eight criteria and the list of cities.
extern HWND QueryPanel;

INT_PTR CALLBACK query_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
void query_panel_init(HWND dialog);
void query_panel_sync(HWND dialog);
BOOL query_panel_command(HWND dialog, WPARAM wparam);

// "Reset Query": clears the selection, restores the start-up query, brings the
// panel in line and runs the query. No redraw.
void reset_query();

// The Info panel: city reports as a scrolling text, cleared or saved by the user.
extern HWND InfoPanel;

INT_PTR CALLBACK info_panel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The shell's info_append: appends one line (without line end) and shows the panel.
void info_panel_append(const char* text);
void info_clear();
void info_save();

// The About box.
extern HWND AboutBox;

INT_PTR CALLBACK about_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Gives the logo the display's scale (at 100 % it stays as the template made it).
void fit_about_logo(HWND dialog);
