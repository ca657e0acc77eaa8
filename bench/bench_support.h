// Fixtures shared by the benchmarks: a scratch working directory holding the data
// files the program reads, and a city table spread over the map.
#pragma once
#include <stdint.h>

#include "core/image.h"

enum {
    BENCH_VIEW_WIDTH = 1024,
    BENCH_VIEW_HEIGHT = 768,
    BENCH_FRAME_WIDTH = 1920,  // a maximised client on a 1920 x 1080 screen
    BENCH_FRAME_HEIGHT = 1042,
    BENCH_TILE_SIDE = 512,
    BENCH_CITY_COUNT = 100,
};

// One of the 512 x 512 tiles, read by both BMP readers.
#define BENCH_TILE_PATH "data/tiles/l4/001/4001002.bmp"

// Creates (once) a scratch directory with data/term.csv (100 rows), data/lolli.bmp
// and the 18 level-4 tiles, and makes it the working directory. Removed at exit.
const char* bench_data_dir();

// Fills image with a 3-byte-per-pixel picture of a fixed pattern.
void bench_fill_image(int32_t width, int32_t height, Image* image);

// city_table: BENCH_CITY_COUNT matched rows spread over the map, values 0 to 15.
void bench_fill_city_table();

// The whole map in view at width x height (1024 x 768 unless told): every one of
// the 18 tiles and every city.
void bench_show_whole_map(int16_t width = BENCH_VIEW_WIDTH, int16_t height = BENCH_VIEW_HEIGHT);

// Makes the offscreen context current at width x height, opening it again when it is
// open at another size (its textures are gone then). 1 when it was (re)opened, so
// the caller sets up its own state again, 0 when it was open at that size already,
// -1 when no context could be made.
int bench_gl_surface(int width, int height);

// Size in bytes of a file, or -1.
long bench_file_size(const char* path);
