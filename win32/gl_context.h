// OpenGL rendering contexts on device contexts: the window's, a printer's and
// memory bitmaps, with the pixel format requests for each.
#pragma once
#include <windows.h>

#include "core/print_plan.h"

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

// The main window's request (double-buffered, 16 colour bits) and the printer's
// (GDI and OpenGL, 24 colour bits, no depth buffer needed).
PIXELFORMATDESCRIPTOR window_pixel_format_request();
PIXELFORMATDESCRIPTOR printer_pixel_format_request();

// The request for drawing into a GlBitmap (Wine implements it with OSMesa; at 32 bits
// per pixel the channel order matches the DIB's).
PIXELFORMATDESCRIPTOR bitmap_pixel_format_request();

// OpenGL set-up on a DC is ChoosePixelFormat, SetPixelFormat, wglCreateContext.
// A printer's document starts between the first step and the other two, so they
// can also be taken apart: choose_gl_format gives the format index, 0 for none
// (or no DC); set_format_and_create_context does the rest. *context is NULL
// unless the result is GL_SETUP_DONE.
int choose_gl_format(HDC dc, const PIXELFORMATDESCRIPTOR* request);
GlSetupResult set_format_and_create_context(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request,
                                            HGLRC* context);
GlSetupResult create_gl_context(HDC dc, const PIXELFORMATDESCRIPTOR* request, HGLRC* context);
