// The view state, the frame's presentation arithmetic and what the renderer offers.
#include "core/view.h"
#include <math.h>
#include <stddef.h>
#include <string.h>

#define DISPLAY_MODE_ITEM(name, value, text, field) {name, text},
const DisplayModeItem DISPLAY_MODES[DISPLAY_MODE_COUNT] = {DISPLAY_MODE_LIST(DISPLAY_MODE_ITEM)};
#undef DISPLAY_MODE_ITEM

// View state and the arithmetic of resizing, panning and zooming (no GL).
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

float display_scale = 1.0f;

void set_display_dpi(int32_t dpi) {
    if (dpi <= 0) dpi = BASE_DPI;
    if (dpi < BASE_DPI / 2) dpi = BASE_DPI / 2;
    if (dpi > BASE_DPI * 10) dpi = BASE_DPI * 10;
    display_scale = (float)dpi / (float)BASE_DPI;
}

int32_t scaled_pixels(int32_t pixels) { return (int32_t)lroundf((float)pixels * display_scale); }

int32_t first_window_side(int32_t pixels, int32_t room) {
    int32_t side = scaled_pixels(pixels);
    return room > 0 && side > room ? room : side;
}

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

// Frame bitmap sizing and the copy region of the bitmap presentation path.
int32_t frame_bitmap_side(int32_t screen_side, int32_t largest_window_side, int32_t minimum_side) {
    int32_t side = minimum_side;
    if (screen_side > side) {
        side = screen_side;
    }
    if (largest_window_side > side) {
        side = largest_window_side;
    }
    return side > FRAME_BITMAP_MAX_SIDE ? FRAME_BITMAP_MAX_SIDE : side;
}

FrameCopy frame_copy_region(int32_t bitmap_width, int32_t bitmap_height, int32_t client_width,
                            int32_t client_height) {
    FrameCopy copy = {0, 0, 0, 0};
    if (bitmap_width <= 0 || bitmap_height <= 0 || client_width <= 0 || client_height <= 0) {
        return copy;
    }
    copy.width = client_width < bitmap_width ? client_width : bitmap_width;
    copy.height = client_height < bitmap_height ? client_height : bitmap_height;
    copy.source_y = bitmap_height - copy.height;
    copy.target_y = client_height - copy.height;
    return copy;
}

enum { FIRST_WINDOW_PATH_WINE = 10, MAJOR_DIGITS_LIMIT = 4 };

int wine_major_version(const char* version) {
    if (version == NULL) {
        return -1;
    }
    int major = 0;
    int digits = 0;
    for (; version[digits] >= '0' && version[digits] <= '9'; ++digits) {
        if (digits == MAJOR_DIGITS_LIMIT) {
            return -1;
        }
        major = major * 10 + (version[digits] - '0');
    }
    if (digits == 0 || version[digits] != '.') {
        return -1;
    }
    return major;
}

bool wine_takes_bitmap_path(const char* version) {
    int major = wine_major_version(version);
    return major < FIRST_WINDOW_PATH_WINE;
}

// The edge-clamp decision from the renderer's version string and extension list.
namespace {

// Reads "<digits>" at *text, moving past them; -1 when there are none.
long read_number(const char** text) {
    const char* p = *text;
    long value = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 6) {
        value = value * 10 + (*p - '0');
        ++p;
        ++digits;
    }
    *text = p;
    return digits > 0 ? value : -1;
}

// The extension list is names separated by spaces: only whole names count.
int has_extension(const char* extensions, const char* name) {
    size_t length = strlen(name);
    for (const char* at = extensions; (at = strstr(at, name)) != NULL; at += length) {
        bool starts = at == extensions || at[-1] == ' ';
        bool ends = at[length] == '\0' || at[length] == ' ';
        if (starts && ends) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

int renderer_has_edge_clamp(const char* version, const char* extensions) {
    if (version != NULL) {
        // "<major>.<minor>[.<release>][ <vendor text>]"
        const char* p = version;
        long major = read_number(&p);
        long minor = -1;
        if (major >= 0 && *p == '.') {
            ++p;
            minor = read_number(&p);
        }
        if (major > 1 || (major == 1 && minor >= 2)) {
            return 1;
        }
    }
    return extensions != NULL &&
           (has_extension(extensions, "GL_EXT_texture_edge_clamp") ||
            has_extension(extensions, "GL_SGIS_texture_edge_clamp"));
}

float clamp_fallback_inset(int32_t texels, int wraps_with_gl_clamp) {
    if (!wraps_with_gl_clamp || texels <= 0) {
        return 0.0f;
    }
    return 0.5f / (float)texels;
}

float keep_inside_cell(float s, int32_t cell, int32_t cells, float inset) {
    if (inset <= 0.0f || cells <= 0) {
        return s;
    }
    if (cell < 0) cell = 0;
    if (cell >= cells) cell = cells - 1;
    float low = (float)cell / (float)cells + inset;
    float high = (float)(cell + 1) / (float)cells - inset;
    if (low > high) {
        low = high = ((float)cell + 0.5f) / (float)cells;  // a cell narrower than a texel
    }
    return s < low ? low : (s > high ? high : s);
}
