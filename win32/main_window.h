// The main window and the OpenGL context it draws with, made by WinMain.
#pragma once
#include <windows.h>

extern HINSTANCE app_instance;
extern HWND main_window;
extern HDC main_dc;        // the device context the main GL context draws on
extern HGLRC main_glrc;

// The main window's class styles, window styles and outer size at start; the Wine
// timings' floor (bench/win32/frame_floor.cpp) takes the same.
enum {
    MAIN_CLASS_STYLE = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
    MAIN_WINDOW_STYLE = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
    MAIN_WINDOW_WIDTH = 1024,
    MAIN_WINDOW_HEIGHT = 768,
};
