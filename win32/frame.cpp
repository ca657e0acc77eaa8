// The main window's OpenGL context and how a drawn frame reaches the screen.
#include "win32/frame.h"
#include <windows.h>
#include "core/view.h"
#include "win32/window.h"
#include "gl/view.h"
#include "gl/gl_api.h"

// The platform check: Windows, or Wine and which release (ntdll's wine_get_version).
namespace {

typedef const char*(__cdecl* WineVersionFunction)();
typedef UINT(WINAPI* DpiForWindowFunction)(HWND);

}  // namespace

bool gl_through_bitmaps() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == NULL) {
        return false;
    }
    WineVersionFunction wine_get_version = (WineVersionFunction)(void*)GetProcAddress(ntdll, "wine_get_version");
    if (wine_get_version == NULL) {
        return false;  // Windows
    }
    return wine_takes_bitmap_path(wine_get_version());
}

// GetDpiForWindow (Windows 10 1607 on, and both Wines) is looked up at run time so
// the program still starts on older Windows; there the screen's LOGPIXELSX is the
// system's scale, which a system-aware program is drawn at.
int display_dpi(HWND window) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    DpiForWindowFunction dpi_for_window =
        user32 != NULL ? (DpiForWindowFunction)(void*)GetProcAddress(user32, "GetDpiForWindow") : NULL;
    if (window != NULL && dpi_for_window != NULL) {
        UINT dpi = dpi_for_window(window);
        if (dpi != 0) return (int)dpi;
    }
    HDC screen = GetDC(NULL);
    int dpi = screen != NULL ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != NULL) ReleaseDC(NULL, screen);
    return dpi;
}

int create_gl_bitmap(HDC reference_dc, int width, int height, GlBitmap* out) {
    ZeroMemory(out, sizeof(*out));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up: GL row 0 is the last GDI row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out->dc = CreateCompatibleDC(reference_dc);
    if (out->dc == NULL) {
        return 0;
    }
    void* bits = NULL;
    out->bitmap = CreateDIBSection(out->dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (out->bitmap == NULL) {
        release_gl_bitmap(out);
        return 0;
    }
    out->replaced = SelectObject(out->dc, out->bitmap);
    out->width = width;
    out->height = height;
    return 1;
}

void release_gl_bitmap(GlBitmap* bitmap) {
    if (bitmap->dc != NULL) {
        if (bitmap->replaced != NULL) {
            SelectObject(bitmap->dc, bitmap->replaced);
        }
        DeleteDC(bitmap->dc);
    }
    if (bitmap->bitmap != NULL) {
        DeleteObject(bitmap->bitmap);
    }
    ZeroMemory(bitmap, sizeof(*bitmap));
}

PIXELFORMATDESCRIPTOR pixel_format_request(DWORD flags, BYTE colour_bits) {
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = flags;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = colour_bits;
    return format;
}

PIXELFORMATDESCRIPTOR bitmap_pixel_format_request() {
    return pixel_format_request(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI, 32);
}

PIXELFORMATDESCRIPTOR window_pixel_format_request() {
    return pixel_format_request(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 16);
}

GlSetupResult create_gl_context(HDC dc, const PIXELFORMATDESCRIPTOR* request, HGLRC* context) {
    *context = NULL;
    int format = dc != NULL ? ChoosePixelFormat(dc, request) : 0;
    if (format == 0) {
        return GL_SETUP_NO_FORMAT;
    }
    if (!SetPixelFormat(dc, format, request)) {
        return GL_SETUP_FORMAT_NOT_SET;
    }
    *context = wglCreateContext(dc);
    return *context != NULL ? GL_SETUP_DONE : GL_SETUP_NO_CONTEXT;
}

// The main GL context and the way its frames reach the window.
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
