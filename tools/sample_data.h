// The bundled sample data set: base map tiles, marker colour strip and terms file,
// made from the geographic inputs in data-src/. Every step works on integers or on
// coordinates rounded to a fixed grid, so the output is the same byte for byte on
// every machine.
#pragma once
#include <stdint.h>

#include "tests/support/rgb.h"

enum {
    SAMPLE_MAP_WIDTH = 2634,
    SAMPLE_MAP_HEIGHT = 1432,
    SAMPLE_TILE_SIZE = 512,
    SAMPLE_TILE_COLUMNS = 6,
    SAMPLE_TILE_ROWS = 3,
    SAMPLE_TILE_LEVEL = 4,

    // Projected coordinates are kept in 1/256 map unit; a pixel has 4 x 4 samples.
    FIXED_PER_UNIT = 256,
    SAMPLES_PER_PIXEL_SIDE = 4,

    SHAPE_POINT_CAPACITY = 32768,
    SHAPE_RING_CAPACITY = 512,
    SHAPE_FEATURE_CAPACITY = 128,
    SAMPLE_CITY_CAPACITY = 100,
    SAMPLE_PATH_CAPACITY = 1024,

    STRIP_WIDTH = 512,
    STRIP_HEIGHT = 32,
    STRIP_CELL_SIZE = 32,
    STRIP_CELL_COUNT = 16,
};

struct MapPoint {
    double x;
    double y;
};


// Spherical Albers equal-area conic (standard parallels 29.5 and 45.5 degrees,
// origin 37.5 N 96 W) scaled and shifted onto the 2634 x 1432 map.
MapPoint project_albers(double longitude, double latitude);

// One ring of a feature: points [first_point, first_point + point_count).
struct ShapeRing {
    int32_t first_point;
    int32_t point_count;
};

// A state, country or lake: its rings (outer rings and holes alike, filled
// even-odd) and its bounding box, all in fixed units.
struct ShapeFeature {
    char code[8];
    char name[40];
    int32_t first_ring;
    int32_t ring_count;
    int32_t min_x, min_y, max_x, max_y;
};

struct ShapeSet {
    int32_t point_count;
    int32_t ring_count;
    int32_t feature_count;
    int32_t x[SHAPE_POINT_CAPACITY];  // fixed units, origin at the map's bottom-left
    int32_t y[SHAPE_POINT_CAPACITY];
    ShapeRing rings[SHAPE_RING_CAPACITY];
    ShapeFeature features[SHAPE_FEATURE_CAPACITY];
};

// Map coordinate rounded to the fixed grid.
int32_t to_fixed(double map_units);

// Appends the features of a polygon file (KIND CODE NAME / RING n / HOLE n / "lon lat")
// to set, projected. 1 on success; 0 when the file cannot be read, is malformed or
// does not fit.
int read_shape_file(const char* path, ShapeSet* set);

// The map's colours: water, neighbouring land, and the palette of the states.
enum { STATE_PALETTE_SIZE = 6 };
extern const Rgb STATE_PALETTE[STATE_PALETTE_SIZE];
extern const Rgb WATER_COLOUR;
extern const Rgb NEIGHBOUR_LAND_COLOUR;

// 1 when two features share a stretch of boundary (two or more points of one lie
// within a map unit of the other's points); a single touching corner is not enough.
int features_adjacent(const ShapeSet* set, int a, int b);

// Greedy colouring, most-connected states first, ties in file order; each state
// takes the least used colour that none of its neighbours has. 1 on success, 0 when
// the palette runs out.
int colour_states(const ShapeSet* states, int32_t colour_of_state[SHAPE_FEATURE_CAPACITY]);

struct MapLayers {
    const ShapeSet* neighbours;
    const ShapeSet* states;
    const int32_t* colour_of_state;
};

// Draws tile (row, column) of level 4 into a 512 x 512 RGB picture, rows bottom-up
// (row 0 of the picture is world y = 512 * row). pixels holds 512 * 512 * 3 bytes.
void render_tile(const MapLayers* layers, int row, int column, uint8_t* pixels);

// The 512 x 32 marker strip: pure blue around sixteen upright triangles (tip at the
// bottom row), grey for cell 0 and a colour ramp for cells 1 to 15.
void render_marker_strip(uint8_t* pixels);
Rgb marker_cell_colour(int cell);

struct SampleCity {
    char name[48];
    char state[3];
    double latitude;
    double longitude;
    int32_t population;
};

// Reads us-cities.tsv (header, then name, state, latitude, longitude, population,
// year separated by tabs). Returns the number of cities, or -1 on failure.
int read_city_file(const char* path, SampleCity cities[SAMPLE_CITY_CAPACITY]);

// The name in at most 13 characters: longer names take a readable short form.
void fit_city_name(const char* name, char fitted[14]);

// One fixed-column record of the terms file, without its line end; out holds at
// least 80 bytes.
void format_terms_record(const SampleCity* city, char* out);

// Header line of the terms file, without its line end.
extern const char TERMS_HEADER[];

// Writes OUT_DIR/data/term.csv, lolli.bmp and tiles/l4/RRR/4RRRCCC.bmp from the
// inputs in source_dir. Tiles are written for rows first_row..last_row only (all
// three in normal use). 1 on success; 0 with a message on stderr.
int make_sample_data(const char* source_dir, const char* out_dir, int first_row, int last_row);
