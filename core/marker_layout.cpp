// Marker values, the colour-keyed strip and the drawn markers (no GL).
#include "core/marker_layout.h"

#include <string.h>

#include "core/view_state.h"

int32_t marker_value(const CityRecord* city, int32_t display_mode) {
    switch (display_mode) {
    case MAYOR_TOTAL_TERMS: return city->mayor_total_terms;
    case MAYOR_CONSECUTIVE_TERMS: return city->mayor_consecutive_terms;
    case MAYOR_TERM_LENGTH: return city->mayor_term_length;
    case COUNCIL_TOTAL_TERMS: return city->council_total_terms;
    case COUNCIL_CONSECUTIVE_TERMS: return city->council_consecutive_terms;
    case COUNCIL_TERMS_LENGTH: return city->council_term_length;
    case MAXIMUM_YEARS: return city->max_years;
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
