// The main GL context and the way its frames reach the window.
#include "app/presentation.h"

#include "app/app.h"
#include "app/bitmap_frame.h"
#include "view/frame.h"
#include "view/gl_api.h"

namespace {

// The window's own device context, held for the whole run (CS_OWNDC). On the
// bitmap path GL draws on a memory DC instead and frames are copied here.
HDC window_dc = NULL;

bool bitmap_path = false;
HBITMAP frame_bitmap = NULL;
HGDIOBJ replaced_bitmap = NULL;
int frame_bitmap_width = 0;
int frame_bitmap_height = 0;

void create_window_context(HWND window) {
    main_dc = window_dc;
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    int index = ChoosePixelFormat(main_dc, &format);
    if (index != 0 && SetPixelFormat(main_dc, index, &format)) {
        main_glrc = wglCreateContext(main_dc);
    }
}

// Sized for the largest client area the window can reach, so that the bitmap (and
// with it the context and its textures) never has to be replaced on a resize.
void create_bitmap_context() {
    frame_bitmap_width = frame_bitmap_side(GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                           GetSystemMetrics(SM_CXMAXTRACK), FRAME_BITMAP_MIN_WIDTH);
    frame_bitmap_height = frame_bitmap_side(GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                            GetSystemMetrics(SM_CYMAXTRACK), FRAME_BITMAP_MIN_HEIGHT);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = frame_bitmap_width;
    info.bmiHeader.biHeight = frame_bitmap_height;  // bottom-up: GL row 0 is the last GDI row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    main_dc = CreateCompatibleDC(window_dc);
    if (main_dc == NULL) {
        return;
    }
    void* bits = NULL;
    frame_bitmap = CreateDIBSection(main_dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (frame_bitmap == NULL) {
        return;
    }
    replaced_bitmap = SelectObject(main_dc, frame_bitmap);

    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.iLayerType = PFD_MAIN_PLANE;
    int index = ChoosePixelFormat(main_dc, &format);
    if (index != 0 && SetPixelFormat(main_dc, index, &format)) {
        main_glrc = wglCreateContext(main_dc);
    }
}

}  // namespace

void create_main_context(HWND window) {
    window_dc = GetDC(window);
    bitmap_path = running_under_wine();
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
    if (bitmap_path && main_dc != NULL) {
        if (replaced_bitmap != NULL) {
            SelectObject(main_dc, replaced_bitmap);
        }
        if (frame_bitmap != NULL) {
            DeleteObject(frame_bitmap);
        }
        DeleteDC(main_dc);
        frame_bitmap = NULL;
        replaced_bitmap = NULL;
    }
    main_dc = NULL;
    if (window_dc != NULL) {
        ReleaseDC(window, window_dc);
    }
    window_dc = NULL;
}

bool presenting_from_bitmap() {
    return bitmap_path;
}

void present_frame() {
    if (!bitmap_path) {
        SwapBuffers(main_dc);
        return;
    }
    if (window_dc == NULL || main_dc == NULL || frame_bitmap == NULL) {
        return;
    }
    glFinish();
    RECT client;
    GetClientRect(main_window, &client);
    FrameCopy copy = frame_copy_region(frame_bitmap_width, frame_bitmap_height, client.right, client.bottom);
    if (copy.width > 0 && copy.height > 0) {
        BitBlt(window_dc, 0, copy.target_y, copy.width, copy.height, main_dc, 0, copy.source_y, SRCCOPY);
    }
}
