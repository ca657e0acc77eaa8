#include "win32/gl_context.h"

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
