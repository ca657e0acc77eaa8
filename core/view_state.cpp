// View state and the arithmetic of resizing, panning and zooming (no GL).
#include "core/view_state.h"

#include <math.h>

// zoom starts at 960.09296 (single-precision bits 0x447005F3): half the map's
// height plus a margin, so the whole map is in view at start.
ViewState view_state = {
    -1,          // selected
    4,           // tile_level
    960.09296f,  // zoom
    1.0f,        // aspect
    1317.0f,     // centre_x
    716.0f,      // centre_y
    -1.0f,       // left
    1.0f,        // right
    -1.0f,       // bottom
    1.0f,        // top
    MAYOR_TOTAL_TERMS,
};

ViewportSize viewport_size = {0, 0};

void compute_view_bounds() {
    float half_width = view_state.aspect * view_state.zoom;
    view_state.left = view_state.centre_x - half_width;
    view_state.right = view_state.centre_x + half_width;
    view_state.bottom = view_state.centre_y - view_state.zoom;
    view_state.top = view_state.centre_y + view_state.zoom;
}

void world_to_pixel(float x, float y, float* px, float* py) {
    float u = (x - view_state.left) / (view_state.right - view_state.left);
    float v = (y - view_state.bottom) / (view_state.top - view_state.bottom);
    // Factors are width - 1 and height - 1: the far bounds land on the last pixel.
    *px = (float)(viewport_size.width - 1) * u;
    *py = (float)(viewport_size.height - 1) * v;
}

void set_viewport_size(int16_t width, int16_t height) {
    viewport_size.width = width;
    viewport_size.height = height;
    // A minimised window reports 0 x 0: keep the last aspect rather than divide by zero.
    if (width > 0 && height > 0) {
        view_state.aspect = (float)width / (float)height;
    }
}

// A centre must stay an ordinary number: an infinite or NaN centre, or a denormal
// one that later steps cannot move, would leave the user no way back to the map.
static int usable_centre(float value) { return value == 0.0f || isnormal(value); }

void pan_view(int16_t dx, int16_t dy) {
    if (viewport_size.width <= 0 || viewport_size.height <= 0) {
        return;
    }
    // Each axis refuses its own step when the result would not be usable.
    float centre_x = view_state.centre_x -
                     (2.0f * view_state.aspect * view_state.zoom * (float)dx) / (float)viewport_size.width;
    float centre_y = view_state.centre_y + (2.0f * view_state.zoom * (float)dy) / (float)viewport_size.height;
    if (usable_centre(centre_x)) {
        view_state.centre_x = centre_x;
    }
    if (usable_centre(centre_y)) {
        view_state.centre_y = centre_y;
    }
}

namespace {
enum { WHEEL_NOTCH = 120 };
int wheel_sum = 0;  // the deltas below a notch not yet turned into a step
}  // namespace

int wheel_notch(int16_t delta) {
    if (delta == 0) return 1;
    if (delta >= WHEEL_NOTCH || delta <= -WHEEL_NOTCH) {
        wheel_sum = 0;
        return 1;
    }
    if ((wheel_sum > 0 && delta < 0) || (wheel_sum < 0 && delta > 0)) wheel_sum = 0;
    wheel_sum += delta;
    if (wheel_sum >= WHEEL_NOTCH || wheel_sum <= -WHEEL_NOTCH) {
        wheel_sum += wheel_sum > 0 ? -WHEEL_NOTCH : WHEEL_NOTCH;
        return 1;
    }
    return 0;
}

void zoom_view(int16_t delta) {
    float zoom = delta >= 0 ? view_state.zoom * 0.9f : view_state.zoom * 1.1f;
    // No limit in the ordinary range, but a step that would make the zoom denormal
    // (x 1.1 would then round back to it) or the visible width infinite is refused.
    // Only a step out is held to the width, so a window widened at the extreme can
    // still zoom back in.
    if (!isnormal(zoom)) {
        return;
    }
    if (zoom > view_state.zoom && !isfinite(2.0f * view_state.aspect * zoom)) {
        return;
    }
    view_state.zoom = zoom;
}
