// The About box.
#pragma once
#ifdef _WIN32
#include <windows.h>
INT_PTR CALLBACK about_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
#endif
