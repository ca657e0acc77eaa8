#include "core/picking.h"

#include <math.h>

#include "core/city_table.h"
#include "core/marker_layout.h"
#include "core/view_state.h"

// 11.3137 as a float (11.3136997...), a hair under 8 * sqrt(2): a click 8 pixels
// off on both axes misses.
const float PICK_RADIUS = 11.3137f;

float point_distance(float x1, float y1, float x2, float y2) {
    float dx = x2 - x1;
    float dy = y2 - y1;
    return sqrtf(dx * dx + dy * dy);
}

int pick_city(int16_t mouse_x, int16_t mouse_y) {
    float best = 1e30f;
    float mx = (float)mouse_x;
    float my = (float)((int32_t)viewport_size.height - (int32_t)mouse_y - 1);
    int32_t count = city_rows();
    for (int32_t i = 0; i < count; ++i) {
        float px, py;
        if (!drawn_marker_tip(i, &px, &py)) {
            continue;
        }
        // Measured from the middle of the marker's height, on its axis.
        float d = point_distance(px, py + (float)(MARKER_HEIGHT / 2), mx, my);
        if (d < best) {  // strictly: the earlier of two equally near cities wins
            view_state.selected = i;
            best = d;
        }
    }
    if (best <= PICK_RADIUS) {
        return 1;
    }
    view_state.selected = -1;
    return 0;
}
