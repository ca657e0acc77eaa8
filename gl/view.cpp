// OpenGL 1.1 drawing of the map view: textures, the tile layer and its loader, the markers, the frame and its read-back.
#include "gl/view.h"
#include <stddef.h>
#include "core/view.h"
#include "core/image.h"
#include "core/tiles.h"
#include "gl/gl_api.h"
#include "core/shell_calls.h"

// One upload path for the tiles, the marker strip and the printed page.
static int is_power_of_two(int32_t side) { return side > 0 && (side & (side - 1)) == 0; }

int fits_texture_size(int32_t width, int32_t height) {
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    return is_power_of_two(width) && is_power_of_two(height) && width <= max_side && height <= max_side;
}

void upload_texture(GLuint name, GLint components, GLsizei width, GLsizei height, GLenum format,
                    const void* pixels) {
    glBindTexture(GL_TEXTURE_2D, name);
    // Rows lie one directly after the other, whatever the width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    // The renderer of the current context decides: a printer's may differ from the window's.
    GLint wrap = renderer_has_edge_clamp((const char*)glGetString(GL_VERSION),
                                         (const char*)glGetString(GL_EXTENSIONS))
                     ? GL_CLAMP_TO_EDGE
                     : GL_CLAMP;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

TexelInset bound_texture_inset() {
    GLint wrap_s = 0, wrap_t = 0, width = 0, height = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap_s);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap_t);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    TexelInset inset = {clamp_fallback_inset(width, wrap_s == GL_CLAMP),
                        clamp_fallback_inset(height, wrap_t == GL_CLAMP)};
    return inset;
}

// The OpenGL side of the tile cache: evicting, loading and deleting tile textures.
void request_tile(uint32_t level, uint32_t row, uint32_t column) {
    TileId evicted = 0;
    if (cache_request(&tile_cache, level, row, column, &evicted)) {
        GLuint name = tile_texture_name(tile_level_of(evicted), tile_row_of(evicted), tile_column_of(evicted));
        glDeleteTextures(1, &name);
    }
}

// OpenGL 1.1 takes only power-of-two sides up to the implementation's limit; any
// other picture is treated like an unreadable file.
static int fits_texture(const Image* image) {
    return image->pixels != NULL && image->bytes_per_pixel == 3 && fits_texture_size(image->width, image->height);
}

void load_next_tile() {
    int32_t count = tile_cache.count;
    if (count > TILE_CACHE_LIMIT) {
        count = TILE_CACHE_LIMIT;
    }
    for (int32_t k = count - 1; k >= 0; --k) {
        TileId tid = tile_cache.tids[k];
        if (tile_is_loaded(tid)) {
            continue;
        }
        uint32_t level = tile_level_of(tid);
        uint32_t row = tile_row_of(tid);
        uint32_t column = tile_column_of(tid);
        char path[PATH_CAPACITY];
        format_tile_path(level, row, column, path, sizeof path);
        Image image = {0, 0, 0, NULL};
        if (!read_bmp(path, &image)) {
            continue;
        }
        if (!fits_texture(&image)) {
            destroy_image(&image);
            continue;
        }
        upload_texture(tile_texture_name(level, row, column), 3, image.width, image.height, GL_RGB, image.pixels);
        destroy_image(&image);
        tile_cache.tids[k] = tid | 1u;
        return;
    }
}

void delete_all_tiles() {
    if (tile_cache.count > TILE_CACHE_LIMIT) {
        tile_cache.count = TILE_CACHE_LIMIT;
    }
    while (tile_cache.count > 0) {
        tile_cache.count -= 1;
        TileId tid = tile_cache.tids[tile_cache.count];
        GLuint name = tile_texture_name(tile_level_of(tid), tile_row_of(tid), tile_column_of(tid));
        glDeleteTextures(1, &name);
    }
    tile_cache.count = 0;
}

// The base map: a textured square for every loaded tile in view, grey for the rest.
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

// The marker strip texture and the pass that draws every visible matched city.
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
        // The sentence is the caption and "Error" the text: kept so, users know the box.
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
    // The same triangle at every display scale, in the display's pixels.
    const float half_width = (float)MARKER_HALF_WIDTH * display_scale;
    const float height = (float)MARKER_HEIGHT * display_scale;
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
        glVertex2f(px + half_width, py + height);
        glTexCoord2f(keep_inside_cell(s - 0.0313f, value, MARKER_CELLS, inset.s), t1);
        glVertex2f(px - half_width, py + height);
    }
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}

// One frame of the map: clear, project the visible world rectangle, tiles, markers.
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
    apply_viewport();
}

void apply_viewport() {
    // A minimised window keeps its last viewport; the next real size replaces it.
    if (viewport_size.width > 0 && viewport_size.height > 0) {
        glViewport(0, 0, viewport_size.width, viewport_size.height);
    }
}

void redraw() {
    draw_frame();
    present_frame();
}

// Frame read-back with OpenGL 1.1.
void read_frame_pixels(Image* image) {
    if (image == NULL || image->pixels == NULL || image->bytes_per_pixel != 3 || image->width <= 0 ||
        image->height <= 0) {
        return;
    }
    // The image's rows have no gaps: 3 * width bytes, whatever the width.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image->width, image->height, GL_RGB, GL_UNSIGNED_BYTE, image->pixels);
}
