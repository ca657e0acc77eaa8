// View state, viewport size and the view arithmetic (no GL).
#pragma once
#include <stdint.h>

enum DisplayMode : int32_t {
    MAYOR_TOTAL_TERMS = 11,
    MAYOR_CONSECUTIVE_TERMS = 12,
    MAYOR_TERM_LENGTH = 13,
    COUNCIL_TOTAL_TERMS = 15,
    COUNCIL_CONSECUTIVE_TERMS = 16,
    COUNCIL_TERMS_LENGTH = 17,
    MAXIMUM_YEARS = 19,
};

struct ViewState {
    int32_t selected;
    int32_t tile_level;
    float zoom;
    float aspect;
    float centre_x;
    float centre_y;
    float left;
    float right;
    float bottom;
    float top;
    int32_t display_mode;
};

struct ViewportSize {
    int16_t width;
    int16_t height;
};

extern ViewState view_state;
extern ViewportSize viewport_size;

// Stores the bounds of a frame drawn from the current centre, zoom and aspect.
void compute_view_bounds();

// World point to viewport pixel (origin bottom-left) through the last frame's bounds.
void world_to_pixel(float x, float y, float* px, float* py);

// Size part of resize_view: stores the size and the aspect. A zero width or height
// (a minimised window) is stored but leaves the aspect as it was, so nothing is
// divided by zero and the next real size restores the view.
void set_viewport_size(int16_t width, int16_t height);

// Steps are exact in the ordinary range; a step whose result would be infinite,
// NaN or denormal (or, zooming out, make the visible width infinite) is refused,
// per axis for a pan, so the view can always be brought back.
void pan_view(int16_t dx, int16_t dy);
void zoom_view(int16_t delta);

// Whether a wheel event makes a zoom step (then zoom_view takes its delta). A
// delta of a notch (120) or more, or of 0, is one step at once; smaller ones, as
// touchpads send, add up per direction until they reach a notch, and a turn the
// other way starts the sum again. 1 for a step, 0 for none yet.
int wheel_notch(int16_t delta);
