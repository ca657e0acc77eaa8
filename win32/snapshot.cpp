// "Save Snapshot..": the view, as drawn, saved as a 24-bit BMP file.
#include "win32/snapshot.h"
#include <windows.h>
#include "win32/window.h"
#include "win32/panels.h"
#include "core/image.h"
#include "win32/save.h"
#include "core/save.h"
#include "gl/view.h"
#include "core/view.h"

namespace {

enum { CAPTURE_SETTLE_MS = 101 };

void reshow_if_visible(HWND panel) {
    if (panel != NULL && IsWindowVisible(panel)) {
        ShowWindow(panel, SW_SHOW);
    }
}

}  // namespace

int capture_view(Image* image) {
    stop_refresh_timer();
    Sleep(CAPTURE_SETTLE_MS);
    if (main_glrc == NULL || wglGetCurrentContext() != main_glrc) {
        return 0;  // nothing can be drawn
    }
    if (!create_image(viewport_size.width, viewport_size.height, 3, image)) {
        return 0;
    }
    draw_frame();
    // Read before presenting: a swap need not keep the back buffer's contents.
    if (image->width > 0 && image->height > 0) {
        read_frame_pixels(image);
    }
    present_frame();
    reshow_if_visible(QueryPanel);
    reshow_if_visible(InfoPanel);
    reshow_if_visible(AboutBox);
    return 1;
}

void save_snapshot() {
    Image image = {};
    if (!capture_view(&image)) {
        show_message("Cannot capture the view!", "Error");
        start_refresh_timer();
        return;
    }
    char path[PATH_CAPACITY] = {};
    if (ask_save_file_name(path, ".bmp") == 1) {
        show_save_result(write_bmp(path, &image));
    }
    destroy_image(&image);
    start_refresh_timer();
}
