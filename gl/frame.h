// Drawing one frame of the map (OpenGL 1.1).
#pragma once
#include <stdint.h>

#define CLEAR_GREY 0.831f

// The fixed OpenGL state set once on the main context at start-up.
void set_fixed_gl_state();

// Clears, projects from view_state, draws the tile layer and the markers.
void draw_frame();

// The first half of draw_frame: clears, stores the bounds and sets the world
// projection, model-view matrix the identity.
void begin_frame();

// resize_view: stores the size (set_viewport_size) and sets the GL viewport.
void resize_view(int16_t width, int16_t height);

// draw_frame followed by present_frame.
void redraw();
