// OpenGL drawing into memory bitmaps, and pixel format requests.
#pragma once
#include <windows.h>

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
