// One upload path for the tiles, the marker strip and the printed page.
#include "gl/texture.h"

#include "core/texture_wrap.h"

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
