// Which wrap mode keeps a texture's own edge colours on a given renderer (no GL).
#pragma once

// 1 when a renderer with this GL_VERSION string and GL_EXTENSIONS list has
// GL_CLAMP_TO_EDGE: OpenGL 1.2 or later, or one of the edge-clamp extensions.
// An OpenGL 1.1 renderer ("1.1.0") rejects it and keeps GL_REPEAT; it gets 0 and
// the caller falls back to GL_CLAMP. Either string may be NULL.
int renderer_has_edge_clamp(const char* version, const char* extensions);
