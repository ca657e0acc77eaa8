// The printed page: a white page with the captured picture as one textured quad.
#include "gl/print.h"
#include <stddef.h>
#include "core/print.h"
#include "gl/gl_api.h"
#include "gl/view.h"

int upload_print_texture(const Image* picture) {
    Image texture = {0, 0, 0, NULL};
    if (picture == NULL || !resample_to_texture(picture, &texture)) {
        return 0;  // too small to resample
    }
    // The context's default texture, edges clamped where the renderer can.
    upload_texture(0, 3, texture.width, texture.height, GL_RGB, texture.pixels);
    destroy_image(&texture);
    return 1;
}

int draw_print_page_tile(const Image* picture, int32_t page_width, int32_t page_height, PrintArea tile) {
    if (page_width <= 0 || page_height <= 0 || tile.width <= 0 || tile.height <= 0) {
        return 0;
    }
    // A white page, one unit per printer pixel, origin at the bottom-left corner;
    // the tile's pixels fill the viewport.
    glEnable(GL_TEXTURE_2D);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, tile.width, tile.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho((double)tile.left, (double)tile.left + tile.width, (double)tile.bottom, (double)tile.bottom + tile.height,
            -100.0, 100.0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    if (picture == NULL || picture->width <= 0 || picture->height <= 0) {
        return 0;
    }
    // The quad has the captured picture's size whatever the texture's size.
    PagePlacement placement = place_on_page(page_width, page_height, picture->width, picture->height);
    glTranslatef(placement.offset_x, placement.offset_y, 0.0f);
    glScalef(placement.scale, placement.scale, 1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    TexelInset inset = bound_texture_inset();
    const float s0 = inset.s, s1 = 1.0f - inset.s, t0 = inset.t, t1 = 1.0f - inset.t;
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2i(0, 0);
    glTexCoord2f(s1, t0);
    glVertex2i(picture->width, 0);
    glTexCoord2f(s1, t1);
    glVertex2i(picture->width, picture->height);
    glTexCoord2f(s0, t1);
    glVertex2i(0, picture->height);
    glEnd();
    return 1;
}

void max_viewport_size(int32_t* width, int32_t* height) {
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    *width = dims[0];
    *height = dims[1];
}
