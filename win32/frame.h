// The main window's OpenGL context and how a drawn frame reaches the screen.
#pragma once
#include <windows.h>
#include "core/print.h"

// What the platform the shell runs on can do.
// True when OpenGL draws into bitmaps instead of on the window: under Wine before
// 10, where a GL drawable over the client area hides the child panels.
bool gl_through_bitmaps();

// Dots per inch of the display a window is on; with no window, the system's.
int display_dpi(HWND window);

// OpenGL rendering contexts on device contexts: the window's and memory bitmaps
// (the bitmap presentation and the printed page's bands), with their pixel format
// requests.
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

// The main GL context and how its frames reach the window.
// On Windows and Wine 10 or later: the window's own pixel format and SwapBuffers.
// Under older Wine, where a GL drawable over the client area hides the child
// panels, GL renders into a 32-bit DIB section through a bitmap pixel format and
// present_frame_on_window copies it.
// Start-up's device context, pixel format and context: sets main_dc and main_glrc
// (main_dc is the memory DC on the bitmap path).
void create_main_context(HWND window);

// Releases the context and the device context (on_main_destroy).
void release_main_context(HWND window);

// Shows the frame just drawn: SwapBuffers, or the bitmap copied to the window.
void present_frame_on_window();

// Stage marks of a redraw from input, read by the Wine timings. Only the timing
// build of the program (bench/win32, BAYLITH_FRAME_TIMING) keeps them; in the
// program that ships they compile to nothing.
enum FrameStage {
    FRAME_HANDLER_IN = 0,   // a drag move or wheel notch reaches the window procedure
    FRAME_DRAWN = 1,        // draw_frame has returned (present_frame starts)
    FRAME_PRESENTED = 2,    // the copy or swap has returned
    FRAME_HANDLER_OUT = 3,  // the handler is done
};

#ifdef BAYLITH_FRAME_TIMING
void mark_frame_stage(int stage);
#else
inline void mark_frame_stage(int) {}
#endif
