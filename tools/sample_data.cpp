// Writes the whole sample data set: data/term.csv, data/lolli.bmp and the tiles.
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <system_error>

#include "core/image.h"
#include "core/save.h"
#include "tests/support/terms_file.h"
#include "tools/sample_data.h"

namespace {

// Large enough to keep off the stack.
ShapeSet state_shapes;
ShapeSet neighbour_shapes;
SampleCity sample_cities[SAMPLE_CITY_CAPACITY];

int make_folder(const char* path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) {
        fprintf(stderr, "make_sample_data: cannot create %s\n", path);
        return 0;
    }
    return 1;
}

int write_picture(const char* path, int width, int height, void (*draw)(uint8_t*, const void*),
                  const void* context) {
    Image image = {0, 0, 0, 0};
    if (!create_image(width, height, 3, &image)) {
        fprintf(stderr, "make_sample_data: out of memory\n");
        return 0;
    }
    draw(image.pixels, context);
    const int ok = write_bmp(path, &image) == SAVE_OK;
    destroy_image(&image);
    if (!ok) fprintf(stderr, "make_sample_data: cannot write %s\n", path);
    return ok;
}

struct TileJob {
    const MapLayers* layers;
    int row;
    int column;
};

void draw_tile(uint8_t* pixels, const void* context) {
    const TileJob* job = (const TileJob*)context;
    render_tile(job->layers, job->row, job->column, pixels);
}

void draw_strip(uint8_t* pixels, const void*) { render_marker_strip(pixels); }

int write_sample_terms(const char* path, const SampleCity* cities, int count) {
    std::vector<std::string> records;
    for (int i = 0; i < count; ++i) {
        char record[80];
        format_terms_record(&cities[i], record);
        records.push_back(record);
    }
    if (write_terms_file(path, records, TERMS_HEADER)) return 1;
    fprintf(stderr, "make_sample_data: cannot write %s\n", path);
    return 0;
}

}  // namespace

int make_sample_data(const char* source_dir, const char* out_dir, int first_row, int last_row) {
    char path[SAMPLE_PATH_CAPACITY];
    state_shapes.point_count = state_shapes.ring_count = state_shapes.feature_count = 0;
    neighbour_shapes.point_count = neighbour_shapes.ring_count = neighbour_shapes.feature_count = 0;

    snprintf(path, sizeof path, "%s/us-states.txt", source_dir);
    if (!read_shape_file(path, &state_shapes)) {
        fprintf(stderr, "make_sample_data: cannot read %s\n", path);
        return 0;
    }
    snprintf(path, sizeof path, "%s/neighbors.txt", source_dir);
    if (!read_shape_file(path, &neighbour_shapes)) {
        fprintf(stderr, "make_sample_data: cannot read %s\n", path);
        return 0;
    }
    snprintf(path, sizeof path, "%s/us-cities.tsv", source_dir);
    const int city_count = read_city_file(path, sample_cities);
    if (city_count < 0) {
        fprintf(stderr, "make_sample_data: cannot read %s\n", path);
        return 0;
    }
    static int32_t colour_of_state[SHAPE_FEATURE_CAPACITY];
    if (!colour_states(&state_shapes, colour_of_state)) {
        fprintf(stderr, "make_sample_data: the state palette is too small\n");
        return 0;
    }

    snprintf(path, sizeof path, "%s/data", out_dir);
    if (!make_folder(path)) return 0;
    snprintf(path, sizeof path, "%s/data/term.csv", out_dir);
    if (!write_sample_terms(path, sample_cities, city_count)) return 0;
    snprintf(path, sizeof path, "%s/data/lolli.bmp", out_dir);
    if (!write_picture(path, STRIP_WIDTH, STRIP_HEIGHT, draw_strip, 0)) return 0;

    const MapLayers layers = {&neighbour_shapes, &state_shapes, colour_of_state};
    for (int row = first_row; row <= last_row; ++row) {
        snprintf(path, sizeof path, "%s/data/tiles/l%d/%03d", out_dir, SAMPLE_TILE_LEVEL, row);
        if (!make_folder(path)) return 0;
        for (int column = 0; column < SAMPLE_TILE_COLUMNS; ++column) {
            // The viewer's own path, .\data\tiles\l4\RRR\4RRRCCC.bmp, with slashes.
            snprintf(path, sizeof path, "%s/data/tiles/l%d/%03d/%d%03d%03d.bmp", out_dir, SAMPLE_TILE_LEVEL,
                     row, SAMPLE_TILE_LEVEL, row, column);
            const TileJob job = {&layers, row, column};
            if (!write_picture(path, SAMPLE_TILE_SIZE, SAMPLE_TILE_SIZE, draw_tile, &job)) return 0;
        }
    }
    return 1;
}
