#include "win32/about_box.h"

#include "win32/resource.h"

HWND AboutBox = NULL;

INT_PTR CALLBACK about_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        // OK (also Enter, it is the default button), Esc and the close box.
        if (wparam == IDCANCEL || wparam == IDC_ABOUT_OK) ShowWindow(dialog, SW_HIDE);
        return TRUE;
    default:
        return FALSE;
    }
}
