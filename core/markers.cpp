// City markers: where each is drawn and which one a click picks.
#include "core/markers.h"
#include <string.h>
#include <math.h>
#include "core/view.h"
#include "core/city_table.h"

// Marker values, the colour-keyed strip and the drawn markers (no GL).
int32_t marker_value(const CityRecord* city, int32_t display_mode) {
    switch (display_mode) {
#define MODE_FIELD(name, value, text, field) \
    case name: return city->field;
    DISPLAY_MODE_LIST(MODE_FIELD)
#undef MODE_FIELD
    default: return 0;
    }
}

int build_marker_staging(const Image* strip, uint8_t* staging, size_t staging_bytes) {
    if (strip == NULL || staging == NULL || strip->pixels == NULL || strip->bytes_per_pixel != 3 ||
        strip->width <= 0 || strip->height <= 0) {
        return 0;
    }
    size_t pixel_count = (size_t)strip->width * (size_t)strip->height;
    if (pixel_count > staging_bytes / 4) {
        return 0;
    }
    for (size_t a = 0; a < pixel_count; ++a) {
        const uint8_t* rgb = strip->pixels + a * 3;
        uint8_t* rgba = staging + a * 4;
        rgba[0] = rgb[0];
        rgba[1] = rgb[1];
        rgba[2] = rgb[2];
        // Pure blue is the strip's transparent colour; nothing else is.
        rgba[3] = (rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 255) ? 0 : 255;
    }
    return 1;
}

int marker_is_drawn(const CityRecord* city) {
    if (city->matched == 0) {
        return 0;
    }
    float x = (float)city->map_x;
    float y = (float)city->map_y;
    return view_state.left <= x && x <= view_state.right && view_state.bottom <= y && y <= view_state.top;
}

int drawn_marker_tip(int32_t i, float* px, float* py) {
    const CityRecord* city = &city_table.rows[i];
    if (!marker_is_drawn(city)) {
        return 0;
    }
    world_to_pixel((float)city->map_x, (float)city->map_y, px, py);
    return 1;
}

float marker_cell_s(int32_t value) { return (float)value * 0.0625f + 0.03125f; }

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
        float d = point_distance(px, py + (float)(MARKER_HEIGHT / 2) * display_scale, mx, my);
        if (d < best) {  // strictly: the earlier of two equally near cities wins
            view_state.selected = i;
            best = d;
        }
    }
    if (best <= PICK_RADIUS * display_scale) {
        return 1;
    }
    view_state.selected = -1;
    return 0;
}
