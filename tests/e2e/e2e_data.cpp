#include "e2e_data.h"

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>

#include <algorithm>
#include <sstream>

#include "core/city_table.h"
#include "core/image.h"
#include "core/markers.h"
#include "core/view.h"
#include "win32/save.h"
#include "tests/support/terms_file.h"

// Columns: x, y, name (13), state, population (7), structure, elected, limits,
// adopted, amended, mayor total/consecutive/length, council size, council
// total/consecutive/length, staggered, maximum years. Cities stand clear of the
// Query and Info panels' places and of tile edges.
const TestCity test_cities[TEST_CITY_COUNT] = {
    {" 250, 800,Alderbrook   ,OR, 550000,CO-WMC,A,Y,1955,1985,1,2,3, 7,4,5,6,N, 8",
     "Alderbrook   ", 250, 800},
    {"1500,1250,Brennic Falls,WA, 800000,CM-SMC,D,Y,1962,1993,2,3,4,12,5,6,7,Y, 9",
     "Brennic Falls", 1500, 1250},
    {"2200, 850,Caddow       ,NV,1200000,MC-SMC,M,N,****,****,U,U,4,20,U,U,2,N, U",
     "Caddow       ", 2200, 850},
    {"1300, 100,Dunmere      ,ID,3500000,MC-WMC,A,Y,2003,2005,3,2,4,35,3,3,4,Y,12",
     "Dunmere      ", 1300, 100},
};

static float run_scale() {
    std::string dpi = env_text("BAYLITH_E2E_DPI");
    return dpi.empty() ? 1.0f : (float)atoi(dpi.c_str()) / 96.0f;
}
const float RUN_SCALE = run_scale();

int at_scale(int pixels) { return (int)lroundf((float)pixels * RUN_SCALE); }

int marker_cell(int city, int display_mode) {
    CityRecord record = {};
    const char* row = test_cities[city].row;
    if (!parse_terms_record(row, (int)strlen(row), &record)) return -1;
    return marker_value(&record, display_mode);
}

const Rgb CLEAR_COLOUR = {212, 212, 212};
const Rgb TILE_GREY = {127, 127, 127};

Rgb tile_colour(int row, int column) {
    return Rgb{(uint8_t)(30 + 40 * column), (uint8_t)(40 + 80 * row), (uint8_t)(60 + 20 * (row + column))};
}

Rgb marker_cell_colour(int cell) {
    return Rgb{(uint8_t)(250 - 15 * cell), (uint8_t)(20 + 14 * cell), (uint8_t)(cell % 2 ? 20 : 150)};
}

// The driver writes its data files through the same file calls as the program,
// in place before any test runs.
static const bool file_calls_installed = (shell_calls.files = windows_file_calls, true);

static bool write_image(const std::string& path, const Image& image) {
    return write_bmp(path.c_str(), &image) == 1;
}

bool write_test_terms(const std::string& dir) {
    CreateDirectoryA((dir + "\\data").c_str(), NULL);
    std::vector<std::string> records;
    for (int i = 0; i < TEST_CITY_COUNT; ++i) records.push_back(test_cities[i].row);
    return write_terms_file(dir + "\\data\\term.csv", records);
}

bool write_marker_strip(const std::string& dir) {
    CreateDirectoryA((dir + "\\data").c_str(), NULL);
    Image strip = {0, 0, 0, NULL};
    if (!create_image(512, 32, 3, &strip)) return false;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 512; ++x) {
            uint8_t* pixel = strip.pixels + (y * 512 + x) * 3;
            Rgb colour = marker_cell_colour(x / 32);
            // The top quarter of every cell is pure blue: the colour key.
            if (y >= 24) colour = Rgb{0, 0, 255};
            pixel[0] = colour.r;
            pixel[1] = colour.g;
            pixel[2] = colour.b;
        }
    }
    bool ok = write_image(dir + "\\data\\lolli.bmp", strip);
    destroy_image(&strip);
    return ok;
}

bool write_tiles(const std::string& dir) {
    std::string tiles = dir + "\\data\\tiles";
    CreateDirectoryA((dir + "\\data").c_str(), NULL);
    CreateDirectoryA(tiles.c_str(), NULL);
    CreateDirectoryA((tiles + "\\l4").c_str(), NULL);
    bool ok = true;
    for (int row = 0; row < TEST_TILE_ROWS; ++row) {
        char folder[64];
        snprintf(folder, sizeof folder, "\\l4\\%03d", row);
        CreateDirectoryA((tiles + folder).c_str(), NULL);
        for (int column = 0; column < TEST_TILE_COLUMNS; ++column) {
            Image tile = {0, 0, 0, NULL};
            if (!create_image(TEST_TILE_PIXELS, TEST_TILE_PIXELS, 3, &tile)) return false;
            Rgb colour = tile_colour(row, column);
            for (int i = 0; i < TEST_TILE_PIXELS * TEST_TILE_PIXELS; ++i) {
                tile.pixels[3 * i] = colour.r;
                tile.pixels[3 * i + 1] = colour.g;
                tile.pixels[3 * i + 2] = colour.b;
            }
            char name[64];
            snprintf(name, sizeof name, "%s\\4%03d%03d.bmp", folder, row, column);
            ok = write_image(tiles + name, tile) && ok;
            destroy_image(&tile);
        }
    }
    return ok;
}

bool write_full_data(const std::string& dir) {
    return write_test_terms(dir) && write_marker_strip(dir) && write_tiles(dir);
}

std::string report_text(int city, int matched_count) {
    static const char* const lines[TEST_CITY_COUNT][5] = {
        {"City: Alderbrook   , OR        Population: 550000",
         "Structure: Commission (Weak Mayor-Council)       ",
         "Elected: At-Large              Has Limits: Yes",
         "Adopted: 1955                  Amended: 1985",
         "Council Size:  7               Staggered: No"},
        {"City: Brennic Falls, WA        Population: 800000",
         "Structure: Council-Manager (Strong Mayor-Council)",
         "Elected: District              Has Limits: Yes",
         "Adopted: 1962                  Amended: 1993",
         "Council Size: 12               Staggered: Yes"},
        {"City: Caddow       , NV        Population: 1200000",
         "Structure: Mayor-Council (Strong Mayor-Council)  ",
         "Elected: Mixed                 Has Limits: No ",
         "Adopted: ****                  Amended: ****",
         "Council Size: 20               Staggered: No"},
        {"City: Dunmere      , ID        Population: 3500000",
         "Structure: Mayor-Council (Weak Mayor-Council)    ",
         "Elected: At-Large              Has Limits: Yes",
         "Adopted: 2003                  Amended: 2005",
         "Council Size: 35               Staggered: Yes"},
    };
    std::string text = std::string(55, '*') + "\r\n\r\n";
    text += "Total matched: " + std::to_string(matched_count) + "\r\n";
    for (int i = 0; i < 5; ++i) text += std::string(lines[city][i]) + "\r\n";
    text += "\r\n";
    return text;
}

// ---- the view ----

static const float INITIAL_ZOOM = 960.09296f;

void view_model_init(ViewModel* view, int client_width, int client_height) {
    view->centre_x = 1317.0f;
    view->centre_y = 716.0f;
    view->zoom = INITIAL_ZOOM;
    view->width = client_width;
    view->height = client_height;
}

// The view steps are the core's own (checked number by number natively): the model
// runs them on a copy of the program's view, so that what is checked here is what
// the program shows of them.
static void load_view(const ViewModel& view) {
    set_viewport_size((int16_t)view.width, (int16_t)view.height);
    view_state.centre_x = view.centre_x;
    view_state.centre_y = view.centre_y;
    view_state.zoom = view.zoom;
    compute_view_bounds();
}

void view_model_pan(ViewModel* view, int dx, int dy) {
    load_view(*view);
    pan_view((int16_t)dx, (int16_t)dy);
    view->centre_x = view_state.centre_x;
    view->centre_y = view_state.centre_y;
}

void view_model_zoom(ViewModel* view, int delta) {
    load_view(*view);
    zoom_view((int16_t)delta);
    view->zoom = view_state.zoom;
}

void world_to_client(const ViewModel& view, float world_x, float world_y, float* x, float* y) {
    load_view(view);
    float px, py;
    world_to_pixel(world_x, world_y, &px, &py);
    *x = px;
    *y = (float)(view.height - 1) - py;
}

static void client_to_world(const ViewModel& view, float x, float y, float* world_x, float* world_y) {
    load_view(view);
    const ViewState& b = view_state;
    float py = (float)(view.height - 1) - y;
    *world_x = b.left + x / (float)(view.width - 1) * (b.right - b.left);
    *world_y = b.bottom + py / (float)(view.height - 1) * (b.top - b.bottom);
}

// Tile row and column at a client point, or -1 outside the grid.
static void tile_at(const ViewModel& view, float x, float y, int* row, int* column) {
    float wx, wy;
    client_to_world(view, x, y, &wx, &wy);
    int c = (int)floorf(wx / 512.0f), r = (int)floorf(wy / 512.0f);
    if (c < 0 || c >= TEST_TILE_COLUMNS || r < 0 || r >= TEST_TILE_ROWS) c = r = -1;
    *row = r;
    *column = c;
}

static bool near_marker(const ViewModel& view, int x, int y) {
    for (int i = 0; i < TEST_CITY_COUNT; ++i) {
        float tip_x, tip_y;
        world_to_client(view, (float)test_cities[i].map_x, (float)test_cities[i].map_y, &tip_x, &tip_y);
        if (x > tip_x - at_scale(22) && x < tip_x + at_scale(22) && y > tip_y - at_scale(38) &&
            y < tip_y + at_scale(6))
            return true;
    }
    return false;
}

bool expected_map_colour(const ViewModel& view, int x, int y, Rgb* colour) {
    const int margin = 3;
    int row, column;
    tile_at(view, (float)x, (float)y, &row, &column);
    for (int dy = -margin; dy <= margin; dy += margin) {
        for (int dx = -margin; dx <= margin; dx += margin) {
            int r, c;
            tile_at(view, (float)(x + dx), (float)(y + dy), &r, &c);
            if (r != row || c != column) return false;
        }
    }
    if (near_marker(view, x, y)) return false;
    *colour = row < 0 ? CLEAR_COLOUR : tile_colour(row, column);
    return true;
}

void marker_points(const ViewModel& view, int city, int* x, int* body_y, int* keyed_y) {
    float tip_x, tip_y;
    world_to_client(view, (float)test_cities[city].map_x, (float)test_cities[city].map_y, &tip_x, &tip_y);
    *x = (int)floorf(tip_x);
    *body_y = (int)floorf(tip_y) - at_scale(MARKER_BODY_HEIGHT);
    *keyed_y = (int)floorf(tip_y) - at_scale(MARKER_KEYED_HEIGHT);
}

void pick_point(const ViewModel& view, int city, int* x, int* y) {
    float tip_x, tip_y;
    world_to_client(view, (float)test_cities[city].map_x, (float)test_cities[city].map_y, &tip_x, &tip_y);
    *x = (int)lroundf(tip_x);
    *y = (int)lroundf(tip_y - 16.0f * RUN_SCALE);
}

std::string compare_map(const ClientShot& shot, const ViewModel& view, HWND main_window,
                        bool skip_covered, int* checked, const std::vector<Rgb>* grey_tiles, int* grey_checked) {
    std::ostringstream failures;
    int mismatches = 0;
    *checked = 0;
    if (grey_checked) *grey_checked = 0;
    for (int y = 5; y < shot.height - 5; y += 17) {
        for (int x = 5; x < shot.width - 5; x += 19) {
            Rgb expected;
            if (!expected_map_colour(view, x, y, &expected)) continue;
            if (skip_covered && !client_point_uncovered(main_window, x, y)) continue;
            ++*checked;
            if (grey_tiles && std::find(grey_tiles->begin(), grey_tiles->end(), expected) != grey_tiles->end()) {
                expected = TILE_GREY;
                ++*grey_checked;
            }
            Rgb seen = shot.at(x, y);
            if (!colour_near(seen, expected, COLOUR_TOLERANCE)) {
                if (mismatches < 5) failures << " at (" << x << ", " << y << ") saw " << seen << " expected " << expected << ";";
                ++mismatches;
            }
        }
    }
    if (mismatches == 0) return "";
    std::ostringstream out;
    out << mismatches << " of " << *checked << " map points differ:" << failures.str();
    return out.str();
}

Rgb map_colour_at(const ViewModel& view, int x, int y) {
    int row, column;
    tile_at(view, (float)x, (float)y, &row, &column);
    return row < 0 ? CLEAR_COLOUR : tile_colour(row, column);
}

Rgb blend(Rgb a, Rgb b, float alpha) {
    return Rgb{(uint8_t)lroundf(a.r * alpha + b.r * (1 - alpha)), (uint8_t)lroundf(a.g * alpha + b.g * (1 - alpha)),
               (uint8_t)lroundf(a.b * alpha + b.b * (1 - alpha))};
}
