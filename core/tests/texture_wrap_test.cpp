#include <gtest/gtest.h>

#include "core/view.h"

// Microsoft's software renderer reports "1.1.0" and rejects GL_CLAMP_TO_EDGE.
TEST(TextureWrap, EdgeClampOnlyFromOpenGl12OrItsExtension) {
    EXPECT_EQ(renderer_has_edge_clamp("1.1.0", "GL_WIN_swap_hint GL_EXT_bgra GL_EXT_paletted_texture"), 0);
    EXPECT_EQ(renderer_has_edge_clamp("1.1", ""), 0);
    EXPECT_EQ(renderer_has_edge_clamp("1.2", NULL), 1);
    EXPECT_EQ(renderer_has_edge_clamp("1.10.0", NULL), 1);
    EXPECT_EQ(renderer_has_edge_clamp("4.5 (Compatibility Profile) Mesa 22.3.6", NULL), 1);
    EXPECT_EQ(renderer_has_edge_clamp("10.0", NULL), 1);
    EXPECT_EQ(renderer_has_edge_clamp("1.1.0", "GL_EXT_bgra GL_EXT_texture_edge_clamp"), 1);
    EXPECT_EQ(renderer_has_edge_clamp("1.1.0", "GL_SGIS_texture_edge_clamp GL_EXT_bgra"), 1);
    // Only whole names count; no string (no context) means no edge clamp.
    EXPECT_EQ(renderer_has_edge_clamp("1.1.0", "GL_EXT_texture_edge_clamp_x XGL_SGIS_texture_edge_clamp"), 0);
    EXPECT_EQ(renderer_has_edge_clamp(NULL, NULL), 0);
    EXPECT_EQ(renderer_has_edge_clamp("", ""), 0);
    EXPECT_EQ(renderer_has_edge_clamp("OpenGL ES 3.2", NULL), 0);
}
