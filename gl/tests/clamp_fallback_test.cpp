// A renderer without GL_CLAMP_TO_EDGE ("1.1.0") gets GL_CLAMP, whose linear filter
// blends the black border colour into each picture's outer half texel. Forced onto
// that fallback, the map and the printed page must look as they do edge-clamped.
#include <stdlib.h>

#include <vector>

#include <gtest/gtest.h>

#include "core/city_table.h"
#include "gl/view.h"
#include "gl/gl_api.h"
#include "gl/print.h"
#include "gl/tests/render_fixture.h"
#include "core/tiles.h"
#include "core/view.h"

typedef RenderTest ClampFallback;

static std::vector<uint8_t> read_all() {
    std::vector<uint8_t> rgb(RENDER_WIDTH * RENDER_HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, RENDER_WIDTH, RENDER_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

static void force_gl_clamp(GLuint name) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
}

// Every pixel within 2 levels a channel; the first that is not, and how many.
static std::string compare(const std::vector<uint8_t>& edge, const std::vector<uint8_t>& fallback) {
    int worse = 0;
    std::string first;
    for (size_t i = 0; i < edge.size(); ++i) {
        if (abs(edge[i] - fallback[i]) > 2) {
            if (worse++ == 0) {
                int pixel = (int)(i / 3);
                first = "pixel " + std::to_string(pixel % RENDER_WIDTH) + "," + std::to_string(pixel / RENDER_WIDTH) +
                        " channel " + std::to_string(i % 3) + ": " + std::to_string(edge[i]) + " edge-clamped, " +
                        std::to_string(fallback[i]) + " under GL_CLAMP";
            }
        }
    }
    return worse == 0 ? "" : first + " (" + std::to_string(worse) + " bytes differ)";
}

TEST_F(ClampFallback, MapAndPrintedPageMatchTheEdgeClampedDrawing) {
    // The whole map: 18 tiles of 4 x 4 texels, each its own colour, about 10.7
    // pixels a tile, so that every tile edge falls in the magnified outer half texel.
    view_state.centre_x = 1536.0f;
    view_state.centre_y = 768.0f;
    view_state.zoom = 1152.0f;
    for (unsigned r = 0; r < 3; ++r)
        for (unsigned c = 0; c < 6; ++c)
            write_solid_bmp(tile_file(4, r, c), 4, 4, Rgb{(uint8_t)(40 + 40 * c), (uint8_t)(60 + 80 * r), 200});
    // Markers of the strip's two outer cells and one inside: their corners reach its
    // left and right edges, their tops its top row.
    write_solid_bmp("./data/lolli.bmp", 64, 8, Rgb{240, 40, 40});
    ASSERT_EQ(load_marker_atlas(), 1);
    const int16_t xs[3] = {600, 1500, 2500};
    const int8_t values[3] = {0, 7, 15};
    for (int i = 0; i < 3; ++i) {
        city_table.rows[i].map_x = xs[i];
        city_table.rows[i].map_y = 300;
        city_table.rows[i].mayor_total_terms = values[i];
        city_table.rows[i].matched = 1;
    }
    city_table.count = 3;
    redraw();
    for (int i = 0; i < 18; ++i) load_next_tile();
    ASSERT_EQ(tile_cache.count, 18);
    redraw();
    redraw();  // the grey of the first read-back after drawing may round otherwise
    std::vector<uint8_t> edge = read_all();
    for (int i = 0; i < 18; ++i) {
        TileId tid = tile_cache.tids[i];
        force_gl_clamp(tile_texture_name(4, tile_row_of(tid), tile_column_of(tid)));
    }
    force_gl_clamp(MARKER_TEXTURE_NAME);
    redraw();
    EXPECT_EQ("", compare(edge, read_all())) << "the map";

    // The printed page: a flat picture scaled by 8 over rows 16 to 31.
    Image picture = {0, 0, 0, NULL};
    ASSERT_EQ(create_image(8, 2, 3, &picture), 1);
    for (int i = 0; i < 16; ++i) {
        picture.pixels[i * 3] = 200;
        picture.pixels[i * 3 + 1] = 170;
        picture.pixels[i * 3 + 2] = 90;
    }
    const PrintArea whole_page = {0, 0, RENDER_WIDTH, RENDER_HEIGHT};
    ASSERT_EQ(upload_print_texture(&picture), 1);
    ASSERT_EQ(draw_print_page_tile(&picture, RENDER_WIDTH, RENDER_HEIGHT, whole_page), 1);
    edge = read_all();
    EXPECT_RGB(read_pixel(0, 16), 200, 170, 90);
    ASSERT_EQ(upload_print_texture(&picture), 1);
    force_gl_clamp(0);
    ASSERT_EQ(draw_print_page_tile(&picture, RENDER_WIDTH, RENDER_HEIGHT, whole_page), 1);
    EXPECT_EQ("", compare(edge, read_all())) << "the printed page";
    destroy_image(&picture);
}
