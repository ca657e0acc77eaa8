// Where the captioned child panels sit on the main window.
#pragma once
#include <windows.h>

// Puts a captioned child panel's outer corner at (x, y) dialog units of the main
// window's client area.
void place_panel(HWND panel, int x, int y);
