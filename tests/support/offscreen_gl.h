// An offscreen OpenGL context for the native rendering tests (no window, no X server).
#pragma once

// Creates a width x height RGBA8 surface with a desktop OpenGL context and makes it
// current. 1 on success, 0 when no such context can be had. One at a time.
int offscreen_gl_open(int width, int height);

// Releases the context and its surface (the display stays initialised for the
// next open); safe when none is open.
void offscreen_gl_close();
