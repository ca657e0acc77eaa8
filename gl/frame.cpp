// One frame of the map: clear, project the visible world rectangle, tiles, markers.
#include "gl/frame.h"

#include "gl/gl_api.h"
#include "gl/markers.h"
#include "gl/tile_layer.h"
#include "core/shell_calls.h"
#include "core/view_state.h"

void set_fixed_gl_state() {
    glClearColor(CLEAR_GREY, CLEAR_GREY, CLEAR_GREY, 1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Left in GL_TEXTURE mode: draw_frame selects its own matrices every frame.
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
}

void begin_frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    compute_view_bounds();
    glOrtho((double)view_state.left, (double)view_state.right, (double)view_state.bottom,
            (double)view_state.top, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void draw_frame() {
    begin_frame();
    // Every tile fragment has alpha 1, so blending would only read each pixel back
    // to give the same bytes; the markers, with their keyed and dimmed texels, blend.
    glDisable(GL_BLEND);
    draw_tile_layer();
    glEnable(GL_BLEND);
    draw_markers();
}

void resize_view(int16_t width, int16_t height) {
    set_viewport_size(width, height);
    // A minimised window keeps its last viewport; the next real size replaces it.
    if (width > 0 && height > 0) {
        glViewport(0, 0, width, height);
    }
}

void redraw() {
    draw_frame();
    present_frame();
}
