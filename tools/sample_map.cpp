// Base map of the sample data: projection, polygon files, state colours, tiles.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "tools/sample_data.h"

const Rgb WATER_COLOUR = {166, 203, 227};
const Rgb NEIGHBOUR_LAND_COLOUR = {226, 224, 216};
const Rgb STATE_PALETTE[STATE_PALETTE_SIZE] = {
    {248, 234, 166},  // pale yellow
    {198, 224, 170},  // sage
    {246, 200, 160},  // peach
    {214, 200, 230},  // lavender
    {240, 194, 208},  // rose
    {184, 214, 208},  // grey green
};

namespace {

const Rgb STATE_BORDER_COLOUR = {128, 120, 112};
const Rgb COAST_COLOUR = {96, 128, 156};
const Rgb FRONTIER_COLOUR = {150, 146, 140};

const double PI = 3.14159265358979323846;
const double MAP_SCALE = 3050.0;
const double MAP_SHIFT_X = 1340.58;
const double MAP_SHIFT_Y = 660.82;

double radians(double degrees) { return degrees * PI / 180.0; }

// Floor of a / b for b > 0.
int64_t floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && (a < 0)) q -= 1;
    return q;
}

int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

// Skips blanks; returns the start of the next word and its length.
const char* next_word(const char* p, int* length) {
    while (*p == ' ' || *p == '\t') ++p;
    const char* start = p;
    while (*p && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') ++p;
    *length = (int)(p - start);
    return start;
}

void copy_bounded(char* out, int capacity, const char* text, int length) {
    if (length > capacity - 1) length = capacity - 1;
    memcpy(out, text, (size_t)length);
    out[length] = '\0';
}

void trim_line_end(char* line) {
    size_t n = strlen(line);
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r' || line[n - 1] == ' ')) line[--n] = '\0';
}

}  // namespace

MapPoint project_albers(double longitude, double latitude) {
    const double phi1 = radians(29.5);
    const double phi2 = radians(45.5);
    const double phi0 = radians(37.5);
    const double lambda0 = radians(-96.0);
    const double n = (sin(phi1) + sin(phi2)) / 2.0;
    const double c = cos(phi1) * cos(phi1) + 2.0 * n * sin(phi1);
    const double rho0 = sqrt(c - 2.0 * n * sin(phi0)) / n;
    const double rho = sqrt(c - 2.0 * n * sin(radians(latitude))) / n;
    const double theta = n * (radians(longitude) - lambda0);
    MapPoint point;
    point.x = MAP_SCALE * (rho * sin(theta)) + MAP_SHIFT_X;
    point.y = MAP_SCALE * (rho0 - rho * cos(theta)) + MAP_SHIFT_Y;
    return point;
}

int32_t to_fixed(double map_units) { return (int32_t)floor(map_units * FIXED_PER_UNIT + 0.5); }

int read_shape_file(const char* path, ShapeSet* set) {
    FILE* file = fopen(path, "rb");
    if (!file) return 0;
    char line[512];
    int ok = 1;
    int points_left = 0;        // points still to read for the current ring
    ShapeFeature* feature = 0;  // feature being read
    while (ok && fgets(line, sizeof line, file)) {
        trim_line_end(line);
        if (line[0] == '#' || line[0] == '\0') continue;
        if (points_left > 0) {
            char* end = 0;
            double longitude = strtod(line, &end);
            double latitude = strtod(end, &end);
            if (set->point_count >= SHAPE_POINT_CAPACITY) {
                ok = 0;
                break;
            }
            MapPoint p = project_albers(longitude, latitude);
            int32_t fx = to_fixed(p.x), fy = to_fixed(p.y);
            set->x[set->point_count] = fx;
            set->y[set->point_count] = fy;
            set->point_count += 1;
            set->rings[set->ring_count - 1].point_count += 1;
            feature->min_x = std::min(feature->min_x, fx);
            feature->max_x = std::max(feature->max_x, fx);
            feature->min_y = std::min(feature->min_y, fy);
            feature->max_y = std::max(feature->max_y, fy);
            points_left -= 1;
            continue;
        }
        int length = 0;
        const char* word = next_word(line, &length);
        if ((length == 4 && strncmp(word, "RING", 4) == 0) || (length == 4 && strncmp(word, "HOLE", 4) == 0)) {
            int count = atoi(word + 4);
            if (!feature || count < 3 || set->ring_count >= SHAPE_RING_CAPACITY) {
                ok = 0;
                break;
            }
            ShapeRing* ring = &set->rings[set->ring_count++];
            ring->first_point = set->point_count;
            ring->point_count = 0;
            feature->ring_count += 1;
            points_left = count;
        } else {
            // A feature line: KIND CODE NAME...
            if (set->feature_count >= SHAPE_FEATURE_CAPACITY) {
                ok = 0;
                break;
            }
            int code_length = 0;
            const char* code = next_word(word + length, &code_length);
            const char* name = code + code_length;
            while (*name == ' ') ++name;
            feature = &set->features[set->feature_count++];
            memset(feature, 0, sizeof *feature);
            copy_bounded(feature->code, sizeof feature->code, code, code_length);
            copy_bounded(feature->name, sizeof feature->name, name, (int)strlen(name));
            feature->first_ring = set->ring_count;
            feature->min_x = feature->min_y = INT32_MAX;
            feature->max_x = feature->max_y = INT32_MIN;
        }
    }
    fclose(file);
    return ok && points_left == 0;
}

int features_adjacent(const ShapeSet* set, int a, int b) {
    const int32_t reach = FIXED_PER_UNIT;  // one map unit
    const ShapeFeature* fa = &set->features[a];
    const ShapeFeature* fb = &set->features[b];
    if (fa->min_x - reach > fb->max_x || fb->min_x - reach > fa->max_x ||
        fa->min_y - reach > fb->max_y || fb->min_y - reach > fa->max_y) {
        return 0;
    }
    const int64_t reach_squared = (int64_t)reach * reach;
    int near_points = 0;
    int a_end = fa->first_ring + fa->ring_count;
    int b_end = fb->first_ring + fb->ring_count;
    for (int ra = fa->first_ring; ra < a_end; ++ra) {
        const ShapeRing* ring_a = &set->rings[ra];
        for (int i = ring_a->first_point; i < ring_a->first_point + ring_a->point_count; ++i) {
            int near = 0;
            for (int rb = fb->first_ring; rb < b_end && !near; ++rb) {
                const ShapeRing* ring_b = &set->rings[rb];
                for (int j = ring_b->first_point; j < ring_b->first_point + ring_b->point_count; ++j) {
                    int64_t dx = set->x[i] - set->x[j];
                    int64_t dy = set->y[i] - set->y[j];
                    if (dx * dx + dy * dy <= reach_squared) {
                        near = 1;
                        break;
                    }
                }
            }
            near_points += near;
            if (near_points >= 2) return 1;
        }
    }
    return 0;
}

int colour_states(const ShapeSet* states, int32_t colour_of_state[SHAPE_FEATURE_CAPACITY]) {
    const int count = states->feature_count;
    static uint8_t adjacent[SHAPE_FEATURE_CAPACITY][SHAPE_FEATURE_CAPACITY];
    int degree[SHAPE_FEATURE_CAPACITY] = {0};
    int order[SHAPE_FEATURE_CAPACITY];
    for (int a = 0; a < count; ++a) {
        colour_of_state[a] = -1;
        order[a] = a;
        for (int b = 0; b < count; ++b) adjacent[a][b] = 0;
    }
    for (int a = 0; a < count; ++a) {
        for (int b = a + 1; b < count; ++b) {
            if (features_adjacent(states, a, b) || features_adjacent(states, b, a)) {
                adjacent[a][b] = adjacent[b][a] = 1;
                degree[a] += 1;
                degree[b] += 1;
            }
        }
    }
    std::stable_sort(order, order + count, [&](int p, int q) { return degree[p] > degree[q]; });
    int uses[STATE_PALETTE_SIZE] = {0};
    for (int k = 0; k < count; ++k) {
        int state = order[k];
        int taken[STATE_PALETTE_SIZE] = {0};
        for (int other = 0; other < count; ++other) {
            if (adjacent[state][other] && colour_of_state[other] >= 0) taken[colour_of_state[other]] = 1;
        }
        int best = -1;
        for (int c = 0; c < STATE_PALETTE_SIZE; ++c) {
            if (!taken[c] && (best < 0 || uses[c] < uses[best])) best = c;
        }
        if (best < 0) return 0;
        colour_of_state[state] = best;
        uses[best] += 1;
    }
    return 1;
}

namespace {

// Labels of the tile's samples: 0 water, 1 neighbouring land, 2 + i state i. The
// grid has a margin of samples around the tile so that borders match across tiles.
enum {
    SAMPLE_MARGIN = 4,
    TILE_SAMPLES = SAMPLE_TILE_SIZE * SAMPLES_PER_PIXEL_SIDE,
    GRID_SIDE = TILE_SAMPLES + 2 * SAMPLE_MARGIN,
    FIXED_PER_SAMPLE = FIXED_PER_UNIT / SAMPLES_PER_PIXEL_SIDE,
    LABEL_WATER = 0,
    LABEL_NEIGHBOUR = 1,
    LABEL_FIRST_STATE = 2,
};

uint8_t label_grid[GRID_SIDE][GRID_SIDE];
int32_t crossings[SHAPE_POINT_CAPACITY];

// Even-odd fill of one feature into the grid, whose sample (0, 0) is the global
// sample (first_sample_x, first_sample_y). Sample centres lie half a sample in.
void fill_feature(const ShapeSet* set, int feature_index, int64_t first_sample_x,
                  int64_t first_sample_y, uint8_t label) {
    const ShapeFeature* feature = &set->features[feature_index];
    const int64_t grid_left = first_sample_x * FIXED_PER_SAMPLE;
    const int64_t grid_bottom = first_sample_y * FIXED_PER_SAMPLE;
    const int64_t grid_extent = (int64_t)GRID_SIDE * FIXED_PER_SAMPLE;
    if (feature->max_x < grid_left || feature->min_x > grid_left + grid_extent ||
        feature->max_y < grid_bottom || feature->min_y > grid_bottom + grid_extent) {
        return;
    }
    const int ring_end = feature->first_ring + feature->ring_count;
    for (int row = 0; row < GRID_SIDE; ++row) {
        const int64_t centre_y = (first_sample_y + row) * FIXED_PER_SAMPLE + FIXED_PER_SAMPLE / 2;
        if (centre_y < feature->min_y || centre_y > feature->max_y) continue;
        int count = 0;
        for (int r = feature->first_ring; r < ring_end; ++r) {
            const ShapeRing* ring = &set->rings[r];
            const int last = ring->first_point + ring->point_count - 1;
            for (int i = ring->first_point; i <= last; ++i) {
                const int j = (i == last) ? ring->first_point : i + 1;
                const int64_t y0 = set->y[i], y1 = set->y[j];
                if ((y0 <= centre_y) == (y1 <= centre_y)) continue;
                const int64_t x0 = set->x[i], x1 = set->x[j];
                crossings[count++] = (int32_t)(x0 + floor_div((centre_y - y0) * (x1 - x0), y1 - y0));
            }
        }
        std::sort(crossings, crossings + count);
        for (int k = 0; k + 1 < count; k += 2) {
            // Samples whose centre lies in [crossings[k], crossings[k + 1]).
            int64_t from = ceil_div(crossings[k] - FIXED_PER_SAMPLE / 2, FIXED_PER_SAMPLE) - first_sample_x;
            int64_t to = ceil_div(crossings[k + 1] - FIXED_PER_SAMPLE / 2, FIXED_PER_SAMPLE) - first_sample_x;
            if (from < 0) from = 0;
            if (to > GRID_SIDE) to = GRID_SIDE;
            for (int64_t column = from; column < to; ++column) label_grid[row][column] = label;
        }
    }
}

struct ColourSum {
    uint32_t red, green, blue;
};

void add_colour(ColourSum* sum, Rgb colour) {
    sum->red += colour.r;
    sum->green += colour.g;
    sum->blue += colour.b;
}

// The colour of one sample: a boundary colour where the label changes within one
// sample to the side, above or below; otherwise the area's own colour.
Rgb sample_colour(const MapLayers* layers, int row, int column) {
    const uint8_t label = label_grid[row][column];
    const uint8_t around[4] = {label_grid[row][column - 1], label_grid[row][column + 1],
                               label_grid[row - 1][column], label_grid[row + 1][column]};
    int touches_water = 0, touches_state = 0, touches_neighbour = 0;
    for (int k = 0; k < 4; ++k) {
        if (around[k] == label) continue;
        if (around[k] == LABEL_WATER) touches_water = 1;
        else if (around[k] == LABEL_NEIGHBOUR) touches_neighbour = 1;
        else touches_state = 1;
    }
    if (label == LABEL_WATER) {
        if (touches_state || touches_neighbour) return COAST_COLOUR;
        return WATER_COLOUR;
    }
    if (touches_water) return COAST_COLOUR;
    if (label == LABEL_NEIGHBOUR) {
        if (touches_state) return FRONTIER_COLOUR;
        return NEIGHBOUR_LAND_COLOUR;
    }
    if (touches_neighbour) return FRONTIER_COLOUR;
    if (touches_state) return STATE_BORDER_COLOUR;
    return STATE_PALETTE[layers->colour_of_state[label - LABEL_FIRST_STATE]];
}

// 1 when the side x side samples from (row, column) up and right share one label.
int block_is_uniform(int row, int column, int side) {
    const uint8_t label = label_grid[row][column];
    for (int r = row; r < row + side; ++r) {
        for (int c = column; c < column + side; ++c) {
            if (label_grid[r][c] != label) return 0;
        }
    }
    return 1;
}

}  // namespace

void render_tile(const MapLayers* layers, int row, int column, uint8_t* pixels) {
    const int64_t first_sample_x = (int64_t)column * TILE_SAMPLES - SAMPLE_MARGIN;
    const int64_t first_sample_y = (int64_t)row * TILE_SAMPLES - SAMPLE_MARGIN;
    memset(label_grid, LABEL_WATER, sizeof label_grid);
    for (int f = 0; f < layers->neighbours->feature_count; ++f) {
        fill_feature(layers->neighbours, f, first_sample_x, first_sample_y, LABEL_NEIGHBOUR);
    }
    for (int f = 0; f < layers->states->feature_count; ++f) {
        fill_feature(layers->states, f, first_sample_x, first_sample_y, (uint8_t)(LABEL_FIRST_STATE + f));
    }
    const int samples = SAMPLES_PER_PIXEL_SIDE * SAMPLES_PER_PIXEL_SIDE;
    for (int y = 0; y < SAMPLE_TILE_SIZE; ++y) {
        const int world_y = row * SAMPLE_TILE_SIZE + y;
        for (int x = 0; x < SAMPLE_TILE_SIZE; ++x) {
            const int world_x = column * SAMPLE_TILE_SIZE + x;
            uint8_t* out = pixels + ((size_t)y * SAMPLE_TILE_SIZE + x) * 3;
            // Beyond the map's edge the tiles show open water.
            if (world_x >= SAMPLE_MAP_WIDTH || world_y >= SAMPLE_MAP_HEIGHT) {
                out[0] = WATER_COLOUR.r;
                out[1] = WATER_COLOUR.g;
                out[2] = WATER_COLOUR.b;
                continue;
            }
            const int first_row = SAMPLE_MARGIN + y * SAMPLES_PER_PIXEL_SIDE;
            const int first_column = SAMPLE_MARGIN + x * SAMPLES_PER_PIXEL_SIDE;
            // Most pixels lie inside one area: one colour, no samples to average.
            if (block_is_uniform(first_row - 1, first_column - 1, SAMPLES_PER_PIXEL_SIDE + 2)) {
                const uint8_t label = label_grid[first_row][first_column];
                const Rgb colour = label == LABEL_WATER       ? WATER_COLOUR
                                   : label == LABEL_NEIGHBOUR ? NEIGHBOUR_LAND_COLOUR
                                                              : STATE_PALETTE[layers->colour_of_state[label - LABEL_FIRST_STATE]];
                out[0] = colour.r;
                out[1] = colour.g;
                out[2] = colour.b;
                continue;
            }
            ColourSum sum = {0, 0, 0};
            for (int sy = 0; sy < SAMPLES_PER_PIXEL_SIDE; ++sy) {
                for (int sx = 0; sx < SAMPLES_PER_PIXEL_SIDE; ++sx) {
                    add_colour(&sum, sample_colour(layers, first_row + sy, first_column + sx));
                }
            }
            out[0] = (uint8_t)((sum.red + samples / 2) / samples);
            out[1] = (uint8_t)((sum.green + samples / 2) / samples);
            out[2] = (uint8_t)((sum.blue + samples / 2) / samples);
        }
    }
}
