// The main GL context and how its frames reach the window.
// On Windows and Wine 10 or later: the window's own pixel format and SwapBuffers.
// Under older Wine, where a GL drawable over the client area hides the child
// panels, GL renders into a 32-bit DIB section through a bitmap pixel format and
// present_frame_on_window copies it.
#pragma once
#include <windows.h>

// Start-up's device context, pixel format and context: sets main_dc and main_glrc
// (main_dc is the memory DC on the bitmap path).
void create_main_context(HWND window);

// Releases the context and the device context (on_main_destroy).
void release_main_context(HWND window);

// Shows the frame just drawn: SwapBuffers, or the bitmap copied to the window.
void present_frame_on_window();
