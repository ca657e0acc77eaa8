// The main window and the OpenGL context it draws with, made by WinMain.
#pragma once
#include <windows.h>

extern HINSTANCE app_instance;
extern HWND main_window;
extern HDC main_dc;        // the device context the main GL context draws on
extern HGLRC main_glrc;
