// Defined once for the program and the in-process test suites.
#include "win32/main_window.h"

HINSTANCE app_instance = NULL;
HWND main_window = NULL;
HDC main_dc = NULL;
HGLRC main_glrc = NULL;
