// The About box.
#pragma once
#include <windows.h>

extern HWND AboutBox;

INT_PTR CALLBACK about_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
