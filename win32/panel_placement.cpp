// Where a captioned child panel goes in the main window's client area.
#include "win32/panel_placement.h"

// The dialog manager puts a dialog's client area at its template position, so a
// captioned child panel's caption and close box would sit above it, clipped by the
// main window's client edge. The panel's outer corner goes there instead, converted
// with the panel's own dialog base units. Called from WM_INITDIALOG, before a
// visible panel is shown: under Wine 8, moving a shown child of a window that GL
// draws on blocks for good.
void place_panel(HWND panel, int x, int y) {
    if (panel == NULL) {
        return;
    }
    RECT position = {x, y, x, y};
    MapDialogRect(panel, &position);
    SetWindowPos(panel, NULL, position.left, position.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
