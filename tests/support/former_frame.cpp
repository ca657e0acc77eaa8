// The former frame: the tile pass under the blending that start-up enables.
#include "tests/support/former_frame.h"

#include "gl/view.h"
#include "gl/gl_api.h"

void draw_former_frame() {
    begin_frame();
    glEnable(GL_BLEND);
    draw_tile_layer();
    draw_markers();
}
