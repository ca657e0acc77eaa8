// Process-wide handles of the Win32 shell and the two ways out.
#pragma once
#include <windows.h>

enum { REFRESH_TIMER_ID = 1, REFRESH_PERIOD_MS = 100 };

extern HINSTANCE app_instance;
extern HWND main_window;
extern HDC main_dc;        // the device context the main GL context draws on
extern HGLRC main_glrc;
extern HFONT report_font;  // the Info box's font, made by create_report_font
extern HWND QueryPanel;
extern HWND InfoPanel;
extern HWND AboutBox;

HFONT create_report_font();

// Puts a captioned child panel's outer corner at (x, y) dialog units of the main
// window's client area.
void place_panel(HWND panel, int x, int y);

void quit_application();
void on_main_destroy();

// Stops and restarts the refresh tick.
void stop_refresh_timer();
void start_refresh_timer();
