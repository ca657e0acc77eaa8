#include "gl/tests/render_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "core/city_table.h"
#include "core/image.h"
#include "tests/support/shell_stand_in.h"
#include "tests/support/offscreen_gl.h"
#include "gl/view.h"
#include "gl/gl_api.h"
#include "core/tiles.h"
#include "core/view.h"

static void put_le(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back((uint8_t)(value >> (8 * i)));
    }
}

void write_test_bmp(const std::string& path, int width, int height, const uint8_t* rgb) {
    int row_size = bmp_row_size(width);
    std::vector<uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    put_le(file, 54 + row_size * height, 4);
    put_le(file, 0, 4);
    put_le(file, 54, 4);
    put_le(file, 40, 4);
    put_le(file, (uint32_t)width, 4);
    put_le(file, (uint32_t)height, 4);
    put_le(file, 1, 2);
    put_le(file, 24, 2);
    put_le(file, 0, 4);
    put_le(file, 0, 4);
    put_le(file, 2835, 4);
    put_le(file, 2835, 4);
    put_le(file, 0, 4);
    put_le(file, 0, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = rgb + (y * width + x) * 3;
            file.push_back(p[2]);
            file.push_back(p[1]);
            file.push_back(p[0]);
        }
        for (int pad = 3 * width; pad < row_size; ++pad) {
            file.push_back(0);
        }
    }
    // Make the folders on the way.
    for (size_t slash = path.find('/', 2); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
    }
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(file.data(), 1, file.size(), f);
    fclose(f);
}

void write_solid_bmp(const std::string& path, int width, int height, Rgb colour) {
    std::vector<uint8_t> rgb((size_t)width * height * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = (uint8_t)colour.r;
        rgb[i + 1] = (uint8_t)colour.g;
        rgb[i + 2] = (uint8_t)colour.b;
    }
    write_test_bmp(path, width, height, rgb.data());
}

std::string tile_file(unsigned level, unsigned row, unsigned column) {
    char path[128];
    snprintf(path, sizeof path, "./data/tiles/l%u/%03u/%u%03u%03u.bmp", level, row, level, row, column);
    return path;
}

Rgb read_pixel(int x, int y) {
    uint8_t rgb[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return Rgb{rgb[0], rgb[1], rgb[2]};
}

static const ViewState initial_view_state = view_state;

void RenderTest::SetUp() {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    old_dir = cwd;
    char pattern[] = "/tmp/baylith-view-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    scratch_dir = pattern;
    ASSERT_EQ(chdir(scratch_dir.c_str()), 0);

    ASSERT_EQ(offscreen_gl_open(RENDER_WIDTH, RENDER_HEIGHT), 1);
    view_state = initial_view_state;
    viewport_size = ViewportSize{0, 0};
    tile_cache.count = 0;
    memset(&city_table, 0, sizeof city_table);
    clear_recorded();
    set_fixed_gl_state();
    resize_view(RENDER_WIDTH, RENDER_HEIGHT);
}

void RenderTest::TearDown() {
    tile_cache.count = 0;
    offscreen_gl_close();
    if (!old_dir.empty()) {
        (void)chdir(old_dir.c_str());
    }
    if (!scratch_dir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(scratch_dir, ignored);
    }
}

void RenderTest::use_grid_view() {
    view_state.centre_x = 1024.0f;
    view_state.centre_y = 768.0f;
    view_state.zoom = 768.0f;
}
