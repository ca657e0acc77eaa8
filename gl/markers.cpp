// The marker strip texture and the pass that draws every visible matched city.
#include "gl/markers.h"

#include "core/shell_calls.h"
#include "core/bmp.h"
#include "core/texture_wrap.h"
#include "gl/gl_api.h"
#include "gl/texture.h"
#include "core/view_state.h"

static uint8_t marker_staging[MARKER_STAGING_BYTES];

int load_marker_atlas() {
    Image strip = {0, 0, 0, NULL};
    int ok = read_bmp(MARKER_ATLAS_PATH, &strip);
    if (ok) {
        // A strip larger than the staging buffer, or with sides OpenGL 1.1 cannot
        // take, is refused like an unreadable file.
        ok = fits_texture_size(strip.width, strip.height) &&
             build_marker_staging(&strip, marker_staging, sizeof marker_staging);
    }
    if (!ok) {
        destroy_image(&strip);
        show_message("Error", "Error: can't read lolli texture!");
        return 0;
    }
    upload_texture(MARKER_TEXTURE_NAME, 4, strip.width, strip.height, GL_RGBA, marker_staging);
    destroy_image(&strip);
    return 1;
}

void draw_markers() {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, MARKER_TEXTURE_NAME);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, (double)viewport_size.width, 0.0, (double)viewport_size.height, -100.0, 100.0);

    // Under GL_CLAMP each marker keeps to its own cell, half a texel in.
    TexelInset inset = bound_texture_inset();
    const float t0 = inset.t, t1 = 1.0f - inset.t;
    int32_t count = city_rows();
    // One batch; only the current colour changes inside it.
    glBegin(GL_TRIANGLES);
    for (int32_t i = 0; i < count; ++i) {
        float px, py;
        if (!drawn_marker_tip(i, &px, &py)) {
            continue;
        }
        int32_t value = marker_value(&city_table.rows[i], view_state.display_mode);
        float s = marker_cell_s(value);
        if (view_state.selected == -1 || view_state.selected == i) {
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        } else {
            glColor4f(1.0f, 1.0f, 1.0f, 0.4f);
        }
        // Tip at the city's pixel; the strip's bottom row at the tip.
        glTexCoord2f(keep_inside_cell(s, value, MARKER_CELLS, inset.s), t0);
        glVertex2f(px, py);
        glTexCoord2f(keep_inside_cell(s + 0.0313f, value, MARKER_CELLS, inset.s), t1);
        glVertex2f(px + (float)MARKER_HALF_WIDTH, py + (float)MARKER_HEIGHT);
        glTexCoord2f(keep_inside_cell(s - 0.0313f, value, MARKER_CELLS, inset.s), t1);
        glVertex2f(px - (float)MARKER_HALF_WIDTH, py + (float)MARKER_HEIGHT);
    }
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}
