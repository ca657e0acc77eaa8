// The base map: a textured square for every loaded tile in view, grey for the rest.
#include "gl/tile_layer.h"
#include "core/tile_range.h"

#include "gl/gl_api.h"
#include "core/tile_cache.h"
#include "gl/tile_loader.h"
#include "core/view_state.h"
#include "gl/texture.h"

void draw_tile_layer() {
    TileRange range = tile_range_for(view_state.left, view_state.right, view_state.bottom, view_state.top);
    uint32_t level = (uint32_t)view_state.tile_level;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // Bottom row first, left to right: the top-right tile is requested last and so
    // is loaded first.
    for (int32_t r = range.first_row; r <= range.last_row; ++r) {
        for (int32_t c = range.first_column; c <= range.last_column; ++c) {
            GLuint name = tile_texture_name(level, (uint32_t)r, (uint32_t)c);
            TexelInset inset = {0.0f, 0.0f};
            if (glIsTexture(name)) {
                glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, name);
                inset = bound_texture_inset();
            } else {
                glDisable(GL_TEXTURE_2D);
            }
            glColor4f(TILE_GREY, TILE_GREY, TILE_GREY, 1.0f);
            float x0 = (float)(TILE_SIZE * c);
            float y0 = (float)(TILE_SIZE * r);
            float size = (float)TILE_SIZE;
            const float s0 = inset.s, s1 = 1.0f - inset.s, t0 = inset.t, t1 = 1.0f - inset.t;
            glBegin(GL_QUADS);
            glTexCoord2f(s0, t0);
            glVertex2f(x0, y0);
            glTexCoord2f(s1, t0);
            glVertex2f(x0 + size, y0);
            glTexCoord2f(s1, t1);
            glVertex2f(x0 + size, y0 + size);
            glTexCoord2f(s0, t1);
            glVertex2f(x0, y0 + size);
            glEnd();
            glDisable(GL_TEXTURE_2D);
            request_tile(level, (uint32_t)r, (uint32_t)c);
        }
    }
}
