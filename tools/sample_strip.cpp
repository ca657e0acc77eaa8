// The marker colour strip of the sample data.

#include <stddef.h>

#include "tools/sample_data.h"

namespace {

const Rgb KEY_BLUE = {0, 0, 255};  // the viewer shows pure blue as transparent
const Rgb OUTLINE_COLOUR = {40, 40, 48};
const Rgb NONE_COLOUR = {160, 160, 160};

// Cells 1 to 15: deep violet through magenta and orange to yellow, brighter for
// larger values. The steps are widest at the low end, where most term counts and
// lengths lie (t = sqrt((cell - 1) / 14) along the anchors). Cell 0, for no value,
// is a mid grey.
const Rgb RAMP[15] = {
    {48, 18, 120},  {146, 35, 140}, {188, 46, 123}, {210, 68, 101}, {226, 90, 80},
    {239, 109, 61}, {243, 135, 55}, {245, 158, 49}, {248, 180, 44}, {250, 200, 40},
    {250, 209, 51}, {250, 217, 62}, {250, 225, 71}, {250, 233, 81}, {250, 240, 90},
};

}  // namespace

Rgb marker_cell_colour(int cell) {
    if (cell <= 0) return NONE_COLOUR;
    if (cell > 15) return RAMP[14];
    return RAMP[cell - 1];
}

// Each cell holds the marker's own triangle (tip at the bottom centre, upper edge
// along the top row) shrunk by one pixel of key colour, with a dark outline so the
// marker reads on every map colour. Pixel centres are handled in doubled
// coordinates, which keeps every test in integers: for a centre at doubled offset
// (dx, dy) from the tip, side = dy - 2|dx| is the distance from the slanted edges
// times 2 sqrt(5), and 2 * 32 - dy is twice the distance from the top edge.
void render_marker_strip(uint8_t* pixels) {
    const int clear_x2 = 2;     // 1 pixel of key colour round the shape
    const int outline_x2 = 7;   // the fill starts 3.5 pixels inside the triangle
    for (int row = 0; row < STRIP_HEIGHT; ++row) {
        for (int column = 0; column < STRIP_WIDTH; ++column) {
            const int cell = column / STRIP_CELL_SIZE;
            const int dx = 2 * (column % STRIP_CELL_SIZE) + 1 - STRIP_CELL_SIZE;
            const int dy = 2 * row + 1;
            const int side = dy - 2 * (dx < 0 ? -dx : dx);
            const int top = 2 * STRIP_CELL_SIZE - dy;
            const int side_squared = side * side;
            Rgb colour = KEY_BLUE;
            if (side > 0 && side_squared >= 5 * clear_x2 * clear_x2 && top >= clear_x2) {
                const int fill = side_squared >= 5 * outline_x2 * outline_x2 && top >= outline_x2;
                colour = fill ? marker_cell_colour(cell) : OUTLINE_COLOUR;
            }
            uint8_t* out = pixels + ((size_t)row * STRIP_WIDTH + column) * 3;
            out[0] = colour.r;
            out[1] = colour.g;
            out[2] = colour.b;
        }
    }
}
