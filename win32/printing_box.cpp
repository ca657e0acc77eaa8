// The "Printing" box and the abort procedure of a print job.
#include "win32/printing_box.h"

#include "win32/about_box.h"
#include "win32/info_panel.h"
#include "win32/main_window.h"
#include "win32/query_panel.h"
#include "win32/resource.h"

namespace {

HWND printing_box = NULL;
bool cancelled = false;
bool box_open = false;
// The windows disabled for the job, enabled again at the end.
HWND disabled[4] = {};
int disabled_count = 0;

INT_PTR CALLBACK printing_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL) {  // Cancel, Esc
            cancelled = true;
            EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void disable(HWND window) {
    // EnableWindow gives nonzero when the window was disabled already.
    if (window != NULL && disabled_count < 4 && !EnableWindow(window, FALSE)) {
        disabled[disabled_count++] = window;
    }
}

}  // namespace

HWND show_printing_box(HWND owner) {
    cancelled = false;
    box_open = true;
    disabled_count = 0;
    printing_box = CreateDialogParamA(app_instance, MAKEINTRESOURCEA(IDD_PRINTING_BOX), owner,
                                      printing_box_proc, 0);
    disable(QueryPanel);
    disable(InfoPanel);
    disable(AboutBox);
    disable(owner);
    if (printing_box != NULL) {
        ShowWindow(printing_box, SW_SHOW);
        UpdateWindow(printing_box);
    }
    return printing_box;
}

void close_printing_box() {
    // The owner first, so that it is activated when the box goes.
    while (disabled_count > 0) {
        EnableWindow(disabled[--disabled_count], TRUE);
    }
    if (printing_box != NULL) {
        DestroyWindow(printing_box);
        printing_box = NULL;
    }
    box_open = false;
}

bool printing_box_open() {
    return box_open;
}

bool printing_cancelled() {
    return cancelled;
}

BOOL CALLBACK print_abort_proc(HDC, int) {
    MSG msg;
    while (!cancelled && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the main loop once the job is over.
            cancelled = true;
            PostQuitMessage((int)msg.wParam);
            break;
        }
        if (printing_box != NULL && IsDialogMessageA(printing_box, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return cancelled ? FALSE : TRUE;
}
