// The main GL context and the way its frames reach the window.
#include "win32/presentation.h"

#include "win32/main_window.h"
#include "core/bitmap_frame.h"
#include "win32/frame_timing.h"
#include "win32/platform.h"
#include "win32/gl_context.h"
#include "gl/frame.h"
#include "gl/gl_api.h"

namespace {

// The window's own device context, held for the whole run (CS_OWNDC). On the
// bitmap path GL draws on a memory DC instead and frames are copied here.
HDC window_dc = NULL;

bool bitmap_path = false;
GlBitmap frame_bitmap = {};

void create_window_context(HWND window) {
    main_dc = window_dc;
    PIXELFORMATDESCRIPTOR format = window_pixel_format_request();
    create_gl_context(main_dc, &format, &main_glrc);
}

// Sized for the largest client area the window can reach, so that the bitmap (and
// with it the context and its textures) never has to be replaced on a resize.
void create_bitmap_context() {
    int width = frame_bitmap_side(GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                  GetSystemMetrics(SM_CXMAXTRACK), FRAME_BITMAP_MIN_WIDTH);
    int height = frame_bitmap_side(GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                   GetSystemMetrics(SM_CYMAXTRACK), FRAME_BITMAP_MIN_HEIGHT);
    if (!create_gl_bitmap(window_dc, width, height, &frame_bitmap)) {
        return;
    }
    main_dc = frame_bitmap.dc;
    PIXELFORMATDESCRIPTOR format = bitmap_pixel_format_request();
    create_gl_context(main_dc, &format, &main_glrc);
}

}  // namespace

void create_main_context(HWND window) {
    window_dc = GetDC(window);
    bitmap_path = gl_through_bitmaps();
    if (bitmap_path) {
        create_bitmap_context();
    } else {
        create_window_context(window);
    }
}

void release_main_context(HWND window) {
    wglMakeCurrent(NULL, NULL);
    if (main_glrc != NULL) {
        wglDeleteContext(main_glrc);
    }
    main_glrc = NULL;
    if (bitmap_path) {
        release_gl_bitmap(&frame_bitmap);
    }
    main_dc = NULL;
    if (window_dc != NULL) {
        ReleaseDC(window, window_dc);
    }
    window_dc = NULL;
}

void present_frame_on_window() {
    mark_frame_stage(FRAME_DRAWN);
    if (!bitmap_path) {
        SwapBuffers(main_dc);
        mark_frame_stage(FRAME_PRESENTED);
        return;
    }
    if (window_dc == NULL || frame_bitmap.dc == NULL) {
        return;
    }
    glFinish();
    RECT client;
    GetClientRect(main_window, &client);
    FrameCopy copy = frame_copy_region(frame_bitmap.width, frame_bitmap.height, client.right, client.bottom);
    if (copy.width > 0 && copy.height > 0) {
        BitBlt(window_dc, 0, copy.target_y, copy.width, copy.height, main_dc, 0, copy.source_y, SRCCOPY);
    }
    mark_frame_stage(FRAME_PRESENTED);
}
