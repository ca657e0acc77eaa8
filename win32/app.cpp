// The shell's process-wide handles, defined once for the program and the
// in-process test suites.
#include "win32/app.h"

HINSTANCE app_instance = NULL;
HWND main_window = NULL;
HDC main_dc = NULL;
HGLRC main_glrc = NULL;
HFONT report_font = NULL;
HWND QueryPanel = NULL;
HWND InfoPanel = NULL;
HWND AboutBox = NULL;
