// The data the end-to-end cases write for the program (cities, marker strip, tiles)
// and what the map must then look like on screen.
#pragma once
#include <string>
#include <vector>

#include "e2e_driver.h"

enum {
    TEST_CITY_COUNT = 4,
    TEST_TILE_ROWS = 3,
    TEST_TILE_COLUMNS = 6,
    TEST_TILE_PIXELS = 64,   // flat tiles: any power of two shows the same colour
    // Samples above the tip at 100 %: in the cell colour (a marker drawn at too small
    // a scale shows its keyed top or the map there), and in the strip's pure-blue top
    // rows, transparent (one drawn too large shows its cell colour).
    MARKER_BODY_HEIGHT = 20,
    MARKER_KEYED_HEIGHT = 28,
    COLOUR_TOLERANCE = 3,
};

// The display scale the cases run at, BAYLITH_E2E_DPI / 96 (at_dpi.sh sets it; 1
// without it), and a length of pixels at 100 % at that scale.
extern const float RUN_SCALE;
int at_scale(int pixels);

struct TestCity {
    const char* row;        // the terms file line
    const char* list_name;  // the name as the Query panel lists it (13 characters)
    int map_x;
    int map_y;
};
extern const TestCity test_cities[TEST_CITY_COUNT];
enum { ALDERBROOK = 0, BRENNIC_FALLS = 1, CADDOW = 2, DUNMERE = 3 };

// Marker strip cell shown by a city in a display mode: the mode's value in the city's
// row as the core reads it (checked field by field natively).
int marker_cell(int city, int display_mode);

extern const Rgb CLEAR_COLOUR;  // outside the tile grid
extern const Rgb TILE_GREY;     // a tile not loaded yet
Rgb tile_colour(int row, int column);
Rgb marker_cell_colour(int cell);

// Writers: data\term.csv, data\lolli.bmp, data\tiles\l4\RRR\4RRRCCC.bmp.
bool write_test_terms(const std::string& dir);
bool write_marker_strip(const std::string& dir);
bool write_tiles(const std::string& dir);
bool write_full_data(const std::string& dir);

// The nine-line report of a city as the Info panel holds it (CR LF line ends).
std::string report_text(int city, int matched_count);

// The view as the program computes it, in single precision.
struct ViewModel {
    float centre_x;
    float centre_y;
    float zoom;
    int width;
    int height;
};
void view_model_init(ViewModel* view, int client_width, int client_height);
void view_model_pan(ViewModel* view, int dx, int dy);
void view_model_zoom(ViewModel* view, int delta);
// Client position (x right, y down from the top) of a world point.
void world_to_client(const ViewModel& view, float world_x, float world_y, float* x, float* y);
// The tile colour, grey or clear colour the model expects at a client pixel; false
// when the pixel lies within a few pixels of a tile edge or near a marker.
bool expected_map_colour(const ViewModel& view, int x, int y, Rgb* colour);

// Points of a city's marker in client coordinates: the body (cell colour) and the
// keyed top (transparent: the map shows through).
void marker_points(const ViewModel& view, int city, int* x, int* body_y, int* keyed_y);
// The client point a double click must hit to pick the city (its reference point).
void pick_point(const ViewModel& view, int city, int* x, int* y);

// Compares map pixels with the model on a grid. skip_covered leaves out points under
// other windows (screen captures); snapshots have none. Points of the tiles coloured
// one of grey_tiles (when given) must show the not-loaded grey instead. Returns ""
// when all match, else a description of the first mismatches. *checked gets the
// number compared, *grey_checked (with grey_tiles) how many of them were grey.
std::string compare_map(const ClientShot& shot, const ViewModel& view, HWND main_window,
                        bool skip_covered, int* checked, const std::vector<Rgb>* grey_tiles = NULL,
                        int* grey_checked = NULL);
// The map colour at a client pixel (tile, or clear colour outside the grid), with no
// regard to markers or edges.
Rgb map_colour_at(const ViewModel& view, int x, int y);
// a × alpha + b × (1 − alpha), per channel.
Rgb blend(Rgb a, Rgb b, float alpha);
