// Which wrap mode keeps a texture's own edge colours on a given renderer (no GL).
#pragma once

// 1 when a renderer with this GL_VERSION string and GL_EXTENSIONS list has
// GL_CLAMP_TO_EDGE: OpenGL 1.2 or later, or one of the edge-clamp extensions.
// An OpenGL 1.1 renderer ("1.1.0") rejects it and keeps GL_REPEAT; it gets 0 and
// the caller falls back to GL_CLAMP. Either string may be NULL.
int renderer_has_edge_clamp(const char* version, const char* extensions);

#include <stdint.h>

// How far inside [0, 1] drawing keeps its texture coordinates on a side of texels
// texels: half a texel where the texture wraps with GL_CLAMP, whose linear filter
// blends the border colour (black) into the outer half texel; 0 elsewhere, so that
// the edge-clamped drawing stays exactly as it was.
float clamp_fallback_inset(int32_t texels, int wraps_with_gl_clamp);

// s kept inside cell cell of cells equal cells of [0, 1] (cell taken into 0 ..
// cells - 1), inset from either side of it; s unchanged when inset is 0.
float keep_inside_cell(float s, int32_t cell, int32_t cells, float inset);
