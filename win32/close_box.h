// The panels' close boxes.
#pragma once
#include <windows.h>

// A second click on a close box within the double-click time arrives as
// WM_NCLBUTTONDBLCLK, which the default handling (Wine's, at least) ignores, so
// the click would be lost: it is pressed as a first click is. TRUE when the
// message was such a click.
BOOL press_close_box_on_double_click(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
