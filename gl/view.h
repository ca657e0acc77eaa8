// OpenGL 1.1 drawing of the map view: textures, the tile layer and its loader, the markers, the frame and its read-back.
#pragma once
#include <stdint.h>
#include "gl/gl_api.h"
#include "core/markers.h"
#include "core/image.h"

// Uploading a picture as a texture under a fixed name (OpenGL 1.1).
// Sides OpenGL 1.1 takes: powers of two up to the implementation's limit.
int fits_texture_size(int32_t width, int32_t height);

// Binds name and defines level 0 from tightly packed rows (components 3 with
// GL_RGB, 4 with GL_RGBA, unsigned bytes); linear filtering, no mipmaps, edges
// clamped to the picture's own texels where the renderer can (else GL_CLAMP).
void upload_texture(GLuint name, GLint components, GLsizei width, GLsizei height, GLenum format,
                    const void* pixels);

// Half a texel of the bound texture along s and t where it wraps with GL_CLAMP
// (renderers without GL_CLAMP_TO_EDGE, such as "1.1.0"); 0 and 0 where its edges
// clamp to its own texels. Drawing keeps its coordinates that far inside.
struct TexelInset {
    float s;
    float t;
};
TexelInset bound_texture_inset();

// Tile textures: requested while drawing, loaded one a tick, deleted at the end.
// Main context current.
void request_tile(uint32_t level, uint32_t row, uint32_t column);
void load_next_tile();
void delete_all_tiles();

// The base map: one square per tile that the view touches.
#define TILE_GREY 0.498f

void draw_tile_layer();

// City markers: the strip texture and the pass that draws them (OpenGL side).
enum { MARKER_TEXTURE_NAME = 2, MARKER_CELLS = 16 };  // the strip's cells along s

#define MARKER_ATLAS_PATH ".\\data\\lolli.bmp"

int load_marker_atlas();
void draw_markers();

// Drawing one frame of the map (OpenGL 1.1).
#define CLEAR_GREY 0.831f

// The fixed OpenGL state set once on the main context at start-up.
void set_fixed_gl_state();

// Clears, projects from view_state, draws the tile layer and the markers.
void draw_frame();

// The first half of draw_frame: clears, stores the bounds and sets the world
// projection, model-view matrix the identity.
void begin_frame();

// resize_view: stores the size (set_viewport_size) and sets the GL viewport.
void resize_view(int16_t width, int16_t height);

// Sets the GL viewport from viewport_size; a zero side keeps the last one.
void apply_viewport();

// draw_frame followed by present_frame.
void redraw();

// Reading the drawn frame back into an image.
// Reads the current frame (width x height from the origin) into the image's pixels
// as tightly packed RGB rows, bottom row first.
void read_frame_pixels(Image* image);
