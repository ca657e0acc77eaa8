#include "win32/close_box.h"

BOOL press_close_box_on_double_click(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_NCLBUTTONDBLCLK || wparam != HTCLOSE) return FALSE;
    // The default handling of a press tracks the box until the button is let go
    // and closes only when it is let go over the box.
    SendMessageW(window, WM_NCLBUTTONDOWN, wparam, lparam);
    return TRUE;
}
