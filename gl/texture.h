// Uploading a picture as a texture under a fixed name (OpenGL 1.1).
#pragma once
#include <stdint.h>

#include "gl/gl_api.h"

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
