// The view state, the frame's presentation arithmetic and what the renderer offers.
#pragma once
#include <stdint.h>

// Every display mode, once: its name, its value, which is the id of the Display
// menu command that chooses it (14 and 18 are no modes), its Display menu item, and
// the CityRecord field its markers show. The menu, the markers, the tests and the
// soak all take the modes from here.
#define DISPLAY_MODE_LIST(X)                                                                \
    X(MAYOR_TOTAL_TERMS, 11, "Mayor Total Terms", mayor_total_terms)                        \
    X(MAYOR_CONSECUTIVE_TERMS, 12, "Mayor Consecutive Terms", mayor_consecutive_terms)      \
    X(MAYOR_TERM_LENGTH, 13, "Mayor Term Length", mayor_term_length)                        \
    X(COUNCIL_TOTAL_TERMS, 15, "Council Total Terms", council_total_terms)                  \
    X(COUNCIL_CONSECUTIVE_TERMS, 16, "Council Consecutive Terms", council_consecutive_terms) \
    /* "Terms", unlike the mayor's item: kept exactly, users know the item so. */            \
    X(COUNCIL_TERMS_LENGTH, 17, "Council Terms Length", council_term_length)                \
    X(MAXIMUM_YEARS, 19, "Maximum Years", max_years)

#define DISPLAY_MODE_VALUE(name, value, text, field) name = value,
enum DisplayMode : int32_t { DISPLAY_MODE_LIST(DISPLAY_MODE_VALUE) };
#undef DISPLAY_MODE_VALUE

#define DISPLAY_MODE_ONE(name, value, text, field) +1
enum { DISPLAY_MODE_COUNT = 0 DISPLAY_MODE_LIST(DISPLAY_MODE_ONE) };
#undef DISPLAY_MODE_ONE

struct DisplayModeItem {
    int32_t mode;
    const char* text;  // the Display menu item
};

// The modes in Display menu order.
extern const DisplayModeItem DISPLAY_MODES[DISPLAY_MODE_COUNT];

// View state, viewport size and the view arithmetic (no GL).

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

// The display's scale, its dots per inch over 96: what is counted in pixels at
// 100 % (the first window size, the markers, the pick radius) is multiplied by it,
// so the view looks the same at every scale, drawn at the display's resolution.
// The zoom needs none: it counts world units, so the same world rectangle fills the
// first view. 1 until the shell reads the display.
enum { BASE_DPI = 96 };
extern float display_scale;

// Sets display_scale from dots per inch. A value the platform should not give
// (0 for unknown, or far outside any display's) leaves 96 or the nearest of 48
// and 960, so a window and its markers keep a usable size.
void set_display_dpi(int32_t dpi);

// A length of whole pixels at 100 %, at the display's scale, rounded.
int32_t scaled_pixels(int32_t pixels);

// A side of the first window: pixels at 100 % at the display's scale, but no more
// than the room the screen has for it (none known: 0 or less), so that at 150 %
// on a screen 1080 pixels high the whole window is in view.
int32_t first_window_side(int32_t pixels, int32_t room);

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

// Arithmetic of the bitmap presentation path: the size of the frame bitmap and
// the part of it that a client area shows.
enum {
    FRAME_BITMAP_MIN_WIDTH = 1024,
    FRAME_BITMAP_MIN_HEIGHT = 768,
    FRAME_BITMAP_MAX_SIDE = 8192,
};

// One side of the frame bitmap: the largest of the screen's and the largest
// window's side and the minimum, capped at FRAME_BITMAP_MAX_SIDE.
int32_t frame_bitmap_side(int32_t screen_side, int32_t largest_window_side, int32_t minimum_side);

struct FrameCopy {
    int32_t width;
    int32_t height;
    int32_t source_y;  // first GDI row of the bitmap to copy
    int32_t target_y;  // client row it goes to
};

// The bitmap is bottom-up and GL's row 0 is its last GDI row, so a client of
// height h shows GDI rows bitmap_height - h to bitmap_height - 1. A client larger
// than the bitmap gets the whole bitmap at its bottom-left corner, where GL's rows
// land; an empty result (width or height 0) copies nothing.
FrameCopy frame_copy_region(int32_t bitmap_width, int32_t bitmap_height, int32_t client_width,
                            int32_t client_height);

// Which presentation path a Wine release takes, from its version string.
// The major number of a Wine version string ("8.0" gives 8, "10.0-rc1" gives 10);
// -1 for NULL or a string that does not start with a number and a dot.
int wine_major_version(const char* version);

// Under Wine: true when frames go through bitmaps. Before Wine 10 a GL window
// hides its child panels and blocks in some of their calls; a version that cannot
// be read takes the bitmap path too, which works on every Wine.
bool wine_takes_bitmap_path(const char* version);

// Which wrap mode keeps a texture's own edge colours on a given renderer (no GL).
// 1 when a renderer with this GL_VERSION string and GL_EXTENSIONS list has
// GL_CLAMP_TO_EDGE: OpenGL 1.2 or later, or one of the edge-clamp extensions.
// An OpenGL 1.1 renderer ("1.1.0") rejects it and keeps GL_REPEAT; it gets 0 and
// the caller falls back to GL_CLAMP. Either string may be NULL.
int renderer_has_edge_clamp(const char* version, const char* extensions);


// How far inside [0, 1] drawing keeps its texture coordinates on a side of texels
// texels: half a texel where the texture wraps with GL_CLAMP, whose linear filter
// blends the border colour (black) into the outer half texel; 0 elsewhere, so that
// the edge-clamped drawing stays exactly as it was.
float clamp_fallback_inset(int32_t texels, int wraps_with_gl_clamp);

// s kept inside cell cell of cells equal cells of [0, 1] (cell taken into 0 ..
// cells - 1), inset from either side of it; s unchanged when inset is 0.
float keep_inside_cell(float s, int32_t cell, int32_t cells, float inset);
