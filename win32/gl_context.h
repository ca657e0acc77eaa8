// OpenGL rendering contexts on device contexts: the window's and memory bitmaps
// (the bitmap presentation and the printed page's bands), with their pixel format
// requests.
#pragma once
#include <windows.h>

#include "core/print_setup.h"

// A 32-bit bottom-up DIB section selected into its own memory DC.
struct GlBitmap {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ replaced;
    int width;
    int height;
};

// Makes the bitmap; 1 on success, 0 (nothing left behind) on failure.
int create_gl_bitmap(HDC reference_dc, int width, int height, GlBitmap* out);
void release_gl_bitmap(GlBitmap* bitmap);

// A pixel format request with the given flags and colour bits, every other field zero.
PIXELFORMATDESCRIPTOR pixel_format_request(DWORD flags, BYTE colour_bits);

// The main window's request (double-buffered, 16 colour bits).
PIXELFORMATDESCRIPTOR window_pixel_format_request();

// The request for drawing into a GlBitmap (Wine implements it with OSMesa; at 32 bits
// per pixel the channel order matches the DIB's).
PIXELFORMATDESCRIPTOR bitmap_pixel_format_request();

// ChoosePixelFormat, SetPixelFormat and wglCreateContext on dc; *context is NULL
// unless the result is GL_SETUP_DONE.
GlSetupResult create_gl_context(HDC dc, const PIXELFORMATDESCRIPTOR* request, HGLRC* context);
