#include "bench/bench_support.h"
#include "tests/support/offscreen_gl.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <filesystem>

#include "core/city_table.h"
#include "core/image.h"
#include "core/save.h"
#include "gl/view.h"
#include "core/view.h"

namespace {

char data_dir[64];

void remove_data_dir() {
    if (data_dir[0]) {
        std::error_code error;
        std::filesystem::remove_all(data_dir, error);
    }
}

void fail(const char* what) {
    fprintf(stderr, "bench set-up: %s\n", what);
    exit(1);
}

void write_picture(const char* path, int32_t width, int32_t height) {
    Image image = {0, 0, 0, NULL};
    bench_fill_image(width, height, &image);
    if (write_bmp(path, &image) != SAVE_OK) fail(path);
    destroy_image(&image);
}

void write_terms_file(const char* path) {
    FILE* file = fopen(path, "wb");
    if (!file) fail(path);
    fputs("x   ,y   ,name         ,st,pop    ,struct,e,l,adop,amen,m,m,m,cs,c,c,c,s,my\r\n", file);
    for (int i = 0; i < BENCH_CITY_COUNT; ++i) {
        char name[16];
        snprintf(name, sizeof name, "Town %03d", i);
        char line[128];
        int length = snprintf(line, sizeof line,
                              "%4d,%4d,%-13s,%2s,%7d,%6s,%c,%c,%4d,%4d,%d,%d,%d,%2d,%d,%d,%d,%c,%2d",
                              (i * 263) % 2600 + 17, (i * 137) % 1400 + 16, name, "ZZ", 5000 + i * 7919,
                              STRUCTURE_CODES[i % STRUCTURE_CODE_COUNT], "ADM"[i % 3], i % 4 ? 'Y' : 'N', 1980 + i % 40,
                              1990 + i % 30, i % 4, i % 3, 2 + i % 3, 5 + i % 9, i % 4, i % 3, 2 + i % 3,
                              i % 2 ? 'Y' : 'N', 8 + i % 8);
        if (length != TERMS_RECORD_MIN_COLUMNS) fail("terms record is not 75 columns");
        fprintf(file, "%s\r\n", line);
    }
    fclose(file);
}

}  // namespace

void bench_fill_image(int32_t width, int32_t height, Image* image) {
    if (!create_image(width, height, 3, image)) fail("create_image");
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = image->pixels + (size_t)y * (size_t)width * 3;
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x + 0] = (uint8_t)(x + y);
            row[3 * x + 1] = (uint8_t)(x * 3);
            row[3 * x + 2] = (uint8_t)(y * 5);
        }
    }
}

const char* bench_data_dir() {
    if (data_dir[0]) return data_dir;
    snprintf(data_dir, sizeof data_dir, "/tmp/baylith-bench-XXXXXX");
    if (!mkdtemp(data_dir)) fail("mkdtemp");
    atexit(remove_data_dir);
    if (chdir(data_dir) != 0) fail("chdir");

    std::filesystem::create_directories("data/tiles/l4/000");
    std::filesystem::create_directories("data/tiles/l4/001");
    std::filesystem::create_directories("data/tiles/l4/002");
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 6; ++column) {
            char path[64];
            snprintf(path, sizeof path, "data/tiles/l4/%03d/4%03d%03d.bmp", row, row, column);
            write_picture(path, BENCH_TILE_SIDE, BENCH_TILE_SIDE);
        }
    }
    write_picture("data/lolli.bmp", 512, 32);
    write_terms_file("data/term.csv");
    return data_dir;
}

void bench_fill_city_table() {
    bench_data_dir();
    if (load_terms_file() != 1 || city_table.count != BENCH_CITY_COUNT) fail("load_terms_file");
}

void bench_show_whole_map(int16_t width, int16_t height) {
    set_viewport_size(width, height);
    view_state.centre_x = 1317.0f;
    view_state.centre_y = 716.0f;
    view_state.zoom = 1000.0f;  // 2667 x 2000 world units: the 2634 x 1432 map and margin
    view_state.selected = -1;
    compute_view_bounds();
}

long bench_file_size(const char* path) {
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(path, error);
    return error ? -1 : (long)size;
}

int bench_gl_surface(int width, int height) {
    static int open_width = 0, open_height = 0;
    if (open_width == width && open_height == height) return 0;
    open_width = open_height = 0;
    if (!offscreen_gl_open(width, height)) return -1;
    open_width = width;
    open_height = height;
    return 1;
}
