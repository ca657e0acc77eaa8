// The main window's procedure.
#pragma once
#include <windows.h>

struct LastMousePosition {
    short x;
    short y;
};
extern LastMousePosition last_mouse_position;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
